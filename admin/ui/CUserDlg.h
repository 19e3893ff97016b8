#pragma once
// The User dialog (167): one staff member's names, status, training dates and the
// Reset Password check. Opened empty for Add, or loaded by user name for Modify, where
// the user name cannot change (a renamed row would leave its login behind).

#include "admin/record/CPersRecord.h"
#include "framework/TemplateDialog.h"

#include <QString>

class CQuorinDoc;

class CUserDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // An empty user name opens the dialog for Add.
    CUserDlg(CQuorinDoc& document, const QString& userName, QWidget* parent = nullptr);

    // Modify: reads the member. False after "Read error on table Pers"; the dialog is
    // then not shown. Add: nothing to read, true.
    bool Load();

    // The fields as the account operations take them (user name in lower case, status
    // 1 when none was chosen).
    CPersRecord Record() const;

    bool IsModify() const { return !m_strLoadUser.isEmpty(); }

    int m_nPersId = 0;
    int m_nLoadedStatus = 1;
    QString m_strUserName;
    QString m_strLastName;
    QString m_strFirstName;
    int m_nStatus = -1;
    QString m_strCiti;
    QString m_strNih;
    int m_bResetPassword = 0;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // Shows the message (stop icon) and puts the focus on the control.
    void Refuse(const QString& message, int controlId);

    CQuorinDoc& m_document;
    QString m_strLoadUser;
};
