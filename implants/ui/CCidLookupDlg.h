#pragma once
// CI Database Lookup: the CID patients whose KV Number is the subject's, or whose names
// begin with the subject's names when it has none; OK or a double click picks one.

#include "dalport/MyADO.h"
#include "framework/TemplateDialog.h"

#include <QString>

class CQuorinDoc;
class CReportListCtrl;

class CCidLookupDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CCidLookupDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    // The search texts, from the open subject.
    QString m_strFirst;
    QString m_strLast;
    QString m_strUnit;
    // The chosen CID PatientId after OK, -1 before.
    int m_nPatientId = -1;

    CReportListCtrl* List() const { return m_pList; }
    // The dialog's own CID session.
    MyADO& Session() { return m_cidDb; }

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    CQuorinDoc& m_document;
    CReportListCtrl* m_pList;
    MyADO m_cidDb;
};
