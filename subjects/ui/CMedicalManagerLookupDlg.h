#pragma once
// Medical Manager Lookup: takes a patient of the Medical Manager practice database and
// copies the patient's address, phones and sex into the Subject tab's members.
//
// The practice server is not reachable from this program, so the dialog opens with
// "Unable to connect to Medical Manager Server!" and an empty list. The OK path is
// complete: a connected session and a filled list (name "LAST, FIRST", patient id,
// birth date) are all it needs.

#include "dalport/MyADO.h"
#include "framework/TemplateDialog.h"

#include <QString>

class CFormSubject;
class CReportListCtrl;

class CMedicalManagerLookupDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CMedicalManagerLookupDlg(CFormSubject& form);

    QString m_strLast;
    QString m_strFirst;
    QString m_strMmId;
    QString m_strBirth;

    CReportListCtrl* List() const { return m_pList; }
    // The session to the practice database; nothing connects it yet.
    MyADO& Session() { return m_mmDb; }
    // True once OK has written a patient into the form.
    bool FilledForm() const { return m_bFilled; }

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void FillForm(const QString& last, const QString& first, const QString& birth, const QString& id);

    CFormSubject& m_form;
    CReportListCtrl* m_pList;
    MyADO m_mmDb;
    bool m_bFilled = false;
};
