#pragma once
// The Numbers added per month window: the subjects entered per calendar month, Print
// and Save.

#include "reports/ui/CReportDlg.h"

class CMonthlyNumbersDlg : public CReportDlg {
    Q_OBJECT
public:
    CMonthlyNumbersDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnSave();

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void OnInitDialog() override;
};
