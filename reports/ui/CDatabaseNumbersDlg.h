#pragma once
// The Database Numbers window: the registry's totals, all subjects or active ones only
// (1109 refills at once), Print and Save.

#include "reports/ui/CReportDlg.h"

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
