#pragma once
// The Participation window: the period (From, To), the summary list, Query, Print and
// Save (the list as shown, for IRB and grant reports).

#include "reports/ui/CReportDlg.h"

class CParticipationDlg : public CReportDlg {
    Q_OBJECT
public:
    CParticipationDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnSave();
    void OnQuery() override;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void OnInitDialog() override;
};
