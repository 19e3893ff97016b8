#pragma once
// The Feedback window: a dataset typed or chosen ("All" for every one), an optional
// feedback period, the list, Query, Print and Save (the list as shown).

#include "reports/ui/CReportDlg.h"

class CFeedbackDlg : public CReportDlg {
    Q_OBJECT
public:
    CFeedbackDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnQuery() override;
    void OnSave();

    QString m_strDataset;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnInitDialog() override;
};
