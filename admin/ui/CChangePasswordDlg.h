#pragma once
// The Change Password dialog (170): old, new and re-entered password, in that tab order.
// It checks only that all three are there and the new ones agree; the change itself is
// ChangePassword's.

#include "framework/TemplateDialog.h"

#include <QString>

class CQuorinDoc;

class CChangePasswordDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CChangePasswordDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    QString m_strOldPassword;
    QString m_strNewPassword;
    QString m_strReenteredPassword;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void Refuse(const QString& message, int controlId);

    CQuorinDoc& m_document;
};
