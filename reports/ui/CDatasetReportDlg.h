#pragma once
// The Dataset and IRB report window: the period, the order and open-only choices, the
// list, Print, Email (the reminders) and Save (the list as CSV).

#include "reports/ui/CReportDlg.h"

class CDatasetReportDlg : public CReportDlg {
    Q_OBJECT
public:
    CDatasetReportDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnEmail();
    void OnSave();

    int m_nOrder = 0;
    int m_bOpenOnly = 0;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

namespace quorin {
// Registers the window's template and the window for its Reports command.
void RegisterDatasetReport();
} // namespace quorin
