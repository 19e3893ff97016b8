#include "reports/ui/CDatasetReportDlg.h"

#include "document/CQuorinDoc.h"
#include "registration/DialogRegistry.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateRegistry.h"
#include "reports/query/CsvExport.h"
#include "reports/query/DatasetReport.h"
#include "reports/ui/DatasetReportTemplate.h"

#include <QAbstractButton>

CDatasetReportDlg::CDatasetReportDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_REPORT_DATASETS, document, QStringLiteral("Datasets"), parent)
{
    SetDateRangeDefaults(QStringLiteral("1/1/2000"), true);
    if (auto email = framework::FindControlAs<QAbstractButton>(this, res::datasets::IDC_EMAIL))
        connect(email, &QAbstractButton::clicked, this, [this] { OnEmail(); });
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
}

std::vector<CReportDlg::Column> CDatasetReportDlg::Columns() const
{
    std::vector<Column> columns{{QString(), 120}};
    for (int column = 1; column < quorin::kDatasetColumns; ++column)
        columns.push_back({QString(), 80});
    return columns;
}

void CDatasetReportDlg::DoDataExchange(CDataExchange* pDX)
{
    CReportDlg::DoDataExchange(pDX);
    DDX_Radio(pDX, res::datasets::IDC_BY_DATE, m_nOrder);
    DDX_Check(pDX, res::datasets::IDC_OPEN_ONLY, m_bOpenOnly);
}

void CDatasetReportDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildDatasetList(query, list, {m_strFrom, m_strTo, m_nOrder, m_bOpenOnly != 0});
}

void CDatasetReportDlg::OnEmail()
{
    // Email works on what the list shows, not on options typed since the last Query.
    // The window stays usable while the mail goes out; one Email at a time.
    auto email = framework::FindControlAs<QAbstractButton>(this, res::datasets::IDC_EMAIL);
    if (email)
        email->setEnabled(false);
    quorin::SendDatasetReminders(Document(), *List());
    if (email)
        email->setEnabled(true);
}

void CDatasetReportDlg::OnSave()
{
    const CReportList& list = *List();
    quorin::SaveCsv(Document().UI(), QStringLiteral("Datasets"), list.GetItemCount(), [&list](int row) {
        QStringList fields;
        for (int column = 0; column < quorin::kDatasetColumns; ++column)
            fields << list.GetItemText(row, column);
        return fields;
    });
}

namespace quorin {

void RegisterDatasetReport()
{
    framework::RegisterDialogTemplate(res::DatasetReportTemplate());
    RegisterDialogWindow<CDatasetReportDlg>(UserInterface::Dialog::ReportDatasets, WindowShown::Modal);
}

} // namespace quorin
