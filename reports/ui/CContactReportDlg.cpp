#include "reports/ui/CContactReportDlg.h"

#include "framework/ReportListCtrl.h"
#include "reports/query/ContactReport.h"
#include "reports/ui/ConsentReportTemplates.h"

CContactReportDlg::CContactReportDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_CONTACT_REPORT, document, QStringLiteral("No Contact List"), parent)
{
    OpenSubjectsOnDoubleClick();
    CReportListCtrl* list = List();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
        if (QTreeWidgetItem* item = list->itemAt(at))
            list->SetSelectionMark(list->indexOfTopLevelItem(item));
        OnRemove();
    });
}

std::vector<CReportDlg::Column> CContactReportDlg::Columns() const
{
    std::vector<Column> columns;
    for (const auto& [heading, width] : quorin::ContactColumns())
        columns.push_back({heading, width});
    return columns;
}

void CContactReportDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildContactList(query, list);
}

void CContactReportDlg::OnRemove()
{
    quorin::RemoveFromContactList(Document(), *List());
}
