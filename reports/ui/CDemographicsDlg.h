#pragma once
// The Demographics window: the race table, the ethnicity table or the race table per
// ethnicity (radios 1103, 1104, 1110), all subjects or active ones (1109); every option
// refills at once. Print and Save; OK closes.

#include "reports/ui/CReportDlg.h"

class CDemographicsDlg : public CReportDlg {
    Q_OBJECT
public:
    CDemographicsDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnSave();
    void OnOption();

    int m_nView = 0;
    int m_bActiveOnly = 0;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
