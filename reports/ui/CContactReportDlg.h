#pragma once
// The Contact window beside the main window: records whose subject could not be
// contacted; a double click opens the subject, a right click offers to take the subject
// off the list.

#include "reports/ui/CReportDlg.h"

class CContactReportDlg : public CReportDlg {
    Q_OBJECT
public:
    CContactReportDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnRemove();

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
};
