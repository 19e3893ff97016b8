#pragma once
// The Consent window beside the main window: the subjects due to renew consent, or with
// "Show NR Only" those whose letter is still out; a double click opens the subject, a
// right click shows the row's address label, Save writes the mail-merge file.

#include "reports/ui/CReportDlg.h"
#include "reports/query/ConsentReport.h"

#include <vector>

class CConsentReportDlg : public CReportDlg {
    Q_OBJECT
public:
    CConsentReportDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnShowNotReturned();
    void OnSave();
    void OnAddressLabel();

    int m_nShowNR = 0;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // What the mail-merge file needs of each row the list shows.
    std::vector<quorin::ConsentRow> m_rows;
};
