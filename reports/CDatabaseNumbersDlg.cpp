#include "reports/CDatabaseNumbersDlg.h"

#include "app/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "reports/DatabaseNumbersReport.h"
#include "resources/NumbersReportTemplates.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QStyle>

#include <algorithm>

CDatabaseNumbersDlg::CDatabaseNumbersDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_DATABASE_NUMBERS, document, QStringLiteral("Database Numbers"), parent)
{
    // A summary, not a table: a click picks a cell, not a row.
    List()->setSelectionBehavior(QAbstractItemView::SelectItems);
    List()->setAllColumnsShowFocus(false);
    if (auto check = framework::FindControlAs<QAbstractButton>(this, res::numbers::IDC_ACTIVE_ONLY))
        connect(check, &QAbstractButton::clicked, this, [this] { OnActiveOnly(); });
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
}

std::vector<CReportDlg::Column> CDatabaseNumbersDlg::Columns() const
{
    std::vector<Column> columns;
    for (const auto& [heading, width] : quorin::DatabaseNumbersColumns())
        columns.push_back({heading, width});
    return columns;
}

void CDatabaseNumbersDlg::DoDataExchange(CDataExchange* pDX)
{
    CReportDlg::DoDataExchange(pDX);
    DDX_Check(pDX, res::numbers::IDC_ACTIVE_ONLY, m_bActiveOnly);
}

void CDatabaseNumbersDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildDatabaseNumbersList(query, list, m_bActiveOnly != 0);
}

void CDatabaseNumbersDlg::OnInitDialog()
{
    CReportDlg::OnInitDialog();
    quorin::FitColumnsToText(*List(), Columns());
}

void CDatabaseNumbersDlg::OnActiveOnly()
{
    if (UpdateData(true))
        Refill();
    quorin::FitColumnsToText(*List(), Columns());
}

void CDatabaseNumbersDlg::OnSave()
{
    quorin::SaveShownListCsv(Document().UI(), PrintTitle(), *List());
}

namespace quorin {

void FitColumnsToText(CReportListCtrl& list, const std::vector<CReportDlg::Column>& columns)
{
    const QFontMetrics metrics(list.font());
    // The cell's margins on both sides and a little air.
    const int padding = 2 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 10;
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        int width = columns[static_cast<std::size_t>(column)].width;
        for (int row = 0; row < list.GetItemCount(); ++row)
            width = std::max(width, metrics.horizontalAdvance(list.GetItemText(row, column)) + padding);
        list.SetColumnWidth(column, width);
    }
}

} // namespace quorin
