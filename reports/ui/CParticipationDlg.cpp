#include "reports/ui/CParticipationDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/ListCsv.h"
#include "reports/ui/WidenColumns.h"
#include "reports/query/ParticipationReport.h"
#include "reports/ui/ParticipationReportTemplates.h"

#include <QAbstractButton>

CParticipationDlg::CParticipationDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_PARTICIPATION, document, QStringLiteral("Participation"), parent)
{
    SetDateRangeDefaults(QStringLiteral("1/1/1901"), true);
    // A summary, not a table: a click picks a cell, not a row.
    List()->setSelectionBehavior(QAbstractItemView::SelectItems);
    List()->setAllColumnsShowFocus(false);
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
}

std::vector<CReportDlg::Column> CParticipationDlg::Columns() const
{
    return {{QString(), 170}, {QString(), 200}, {QString(), 80}};
}

void CParticipationDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildParticipationList(query, list, m_strFrom, m_strTo);
}

void CParticipationDlg::OnSave()
{
    quorin::SaveListAsShown(Document().UI(), PrintTitle(), *List());
}

void CParticipationDlg::OnInitDialog()
{
    CReportDlg::OnInitDialog();
    quorin::WidenColumnsToContents(*List());
}

void CParticipationDlg::OnQuery()
{
    CReportDlg::OnQuery();
    quorin::WidenColumnsToContents(*List());
}
