#include "reports/ui/CConsentReportDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "reports/ui/ConsentReportTemplates.h"

#include <QAbstractButton>

CConsentReportDlg::CConsentReportDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_CONSENT_REPORT, document, QStringLiteral("Consent List"), parent)
{
    OpenSubjectsOnDoubleClick();
    if (auto check = framework::FindControlAs<QAbstractButton>(this, res::consent::IDC_SHOW_NR))
        connect(check, &QAbstractButton::clicked, this, [this] { OnShowNotReturned(); });
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
    // The context-menu request also comes from the keyboard (Menu key, Shift+F10).
    CReportListCtrl* list = List();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
        if (QTreeWidgetItem* item = list->itemAt(at))
            list->SetSelectionMark(list->indexOfTopLevelItem(item));
        OnAddressLabel();
    });
}

std::vector<CReportDlg::Column> CConsentReportDlg::Columns() const
{
    std::vector<Column> columns;
    for (const auto& [heading, width] : quorin::ConsentColumns())
        columns.push_back({heading, width});
    return columns;
}

void CConsentReportDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    if (m_nShowNR)
        quorin::BuildNotReturnedList(query, list, m_rows);
    else
        quorin::BuildConsentList(query, list, m_rows);
}

void CConsentReportDlg::DoDataExchange(CDataExchange* pDX)
{
    CReportDlg::DoDataExchange(pDX);
    DDX_Check(pDX, res::consent::IDC_SHOW_NR, m_nShowNR);
}

void CConsentReportDlg::OnShowNotReturned()
{
    if (UpdateData(true))
        Refill();
}

void CConsentReportDlg::OnSave()
{
    quorin::SaveConsentCsv(Document().UI(), *List(), m_rows);
}

void CConsentReportDlg::OnAddressLabel()
{
    quorin::ShowAddressLabel(Document().UI(), *List());
}
