#include "reports/ui/CMonthlyNumbersDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/ListCsv.h"
#include "reports/ui/WidenColumns.h"
#include "reports/ui/CDatabaseNumbersDlg.h"
#include "reports/query/DatabaseNumbersReport.h"
#include "reports/query/MonthlyNumbersReport.h"
#include "reports/ui/NumbersReportTemplates.h"

#include <QAbstractButton>

CMonthlyNumbersDlg::CMonthlyNumbersDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_MONTHLY_NUMBERS, document, QStringLiteral("Subjects Added by Month"), parent)
{
    // A click picks a cell, not a row.
    List()->setSelectionBehavior(QAbstractItemView::SelectItems);
    List()->setAllColumnsShowFocus(false);
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
}

std::vector<CReportDlg::Column> CMonthlyNumbersDlg::Columns() const
{
    std::vector<Column> columns;
    for (const auto& [heading, width] : quorin::MonthlyNumbersColumns())
        columns.push_back({heading, width});
    return columns;
}

void CMonthlyNumbersDlg::OnInitDialog()
{
    CReportDlg::OnInitDialog();
    quorin::WidenColumnsToContents(*List(), GivenWidths());
}

void CMonthlyNumbersDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildMonthlyNumbersList(query, list);
}

void CMonthlyNumbersDlg::OnSave()
{
    quorin::SaveListAsShown(Document().UI(), PrintTitle(), *List());
}
