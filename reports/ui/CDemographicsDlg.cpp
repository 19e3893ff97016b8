#include "reports/ui/CDemographicsDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/ListCsv.h"
#include "reports/ui/WidenColumns.h"
#include "reports/ui/CDatabaseNumbersDlg.h"
#include "reports/query/DatabaseNumbersReport.h"
#include "reports/query/DemographicsReport.h"
#include "reports/ui/NumbersReportTemplates.h"

#include <QAbstractButton>

CDemographicsDlg::CDemographicsDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_DEMOGRAPHICS, document, QStringLiteral("Demographics"), parent)
{
    for (const int id : {res::numbers::IDC_RACE, res::numbers::IDC_ETHNICITY, res::numbers::IDC_BOTH,
                         res::numbers::IDC_ACTIVE_ONLY})
        if (auto option = framework::FindControlAs<QAbstractButton>(this, id))
            connect(option, &QAbstractButton::clicked, this, [this] { OnOption(); });
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
}

std::vector<CReportDlg::Column> CDemographicsDlg::Columns() const
{
    std::vector<Column> columns;
    for (const auto& [heading, width] : quorin::DemographicsColumns())
        columns.push_back({heading, width});
    return columns;
}

void CDemographicsDlg::DoDataExchange(CDataExchange* pDX)
{
    CReportDlg::DoDataExchange(pDX);
    DDX_Radio(pDX, res::numbers::IDC_RACE, m_nView);
    DDX_Check(pDX, res::numbers::IDC_ACTIVE_ONLY, m_bActiveOnly);
}

void CDemographicsDlg::OnInitDialog()
{
    CReportDlg::OnInitDialog();
    quorin::WidenColumnsToContents(*List(), GivenWidths());
}

void CDemographicsDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildDemographicsList(query, list, {m_nView, m_bActiveOnly != 0});
}

void CDemographicsDlg::OnOption()
{
    if (UpdateData(true))
        Refill();
    quorin::WidenColumnsToContents(*List(), GivenWidths());
}

void CDemographicsDlg::OnSave()
{
    quorin::SaveListAsShown(Document().UI(), PrintTitle(), *List());
}
