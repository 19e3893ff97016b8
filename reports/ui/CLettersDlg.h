#pragma once
// The Letters window (modal): the letter counts between From and To, run by Query.

#include "reports/ui/CReportDlg.h"

class CLettersDlg : public CReportDlg {
    Q_OBJECT
public:
    CLettersDlg(CQuorinDoc& document, QWidget* parent = nullptr);

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
};
