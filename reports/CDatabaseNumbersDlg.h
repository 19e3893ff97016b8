#pragma once
// The Database Numbers window: the registry's totals, all subjects or active ones only
// (1109 refills at once), Print and Save.

#include "reports/CReportDlg.h"

class CDatabaseNumbersDlg : public CReportDlg {
    Q_OBJECT
public:
    CDatabaseNumbersDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnSave();
    void OnActiveOnly();

    int m_bActiveOnly = 0;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnInitDialog() override;
};

namespace quorin {
// The column widths of the numbers windows are those of the reports, in pixels of the
// font they were laid out for; a column whose text would be cut in this font grows to
// show it whole (never narrower than given). Called after every fill.
void FitColumnsToText(CReportListCtrl& list, const std::vector<CReportDlg::Column>& columns);
} // namespace quorin
