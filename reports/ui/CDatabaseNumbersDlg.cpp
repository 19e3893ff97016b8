#include "reports/ui/CDatabaseNumbersDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/ListCsv.h"
#include "reports/ui/WidenColumns.h"
#include "reports/query/DatabaseNumbersReport.h"
#include "reports/ui/NumbersReportTemplates.h"

#include <QAbstractButton>

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
    quorin::WidenColumnsToContents(*List(), GivenWidths());
}

void CDatabaseNumbersDlg::OnActiveOnly()
{
    if (UpdateData(true))
        Refill();
    quorin::WidenColumnsToContents(*List(), GivenWidths());
}

void CDatabaseNumbersDlg::OnSave()
{
    quorin::SaveListAsShown(Document().UI(), PrintTitle(), *List());
}
