#include "reports/ui/CFeedbackDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/ClosedDatasetReport.h"
#include "reports/query/FeedbackReport.h"
#include "reports/query/ListCsv.h"
#include "reports/ui/WidenColumns.h"
#include "reports/ui/ParticipationReportTemplates.h"

#include <QAbstractButton>
#include <QComboBox>

CFeedbackDlg::CFeedbackDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_FEEDBACK, document, QStringLiteral("Feedback"), parent)
{
    SetDateRangeDefaults(QString(), false);
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
}

std::vector<CReportDlg::Column> CFeedbackDlg::Columns() const
{
    return {{QString(), 150}, {QString(), 200}, {QString(), 80}, {QString(), 80}, {QString(), 80}, {QString(), 80}};
}

void CFeedbackDlg::DoDataExchange(CDataExchange* pDX)
{
    CReportDlg::DoDataExchange(pDX);
    DDX_CBString(pDX, res::participation::IDC_DATASET, m_strDataset);
}

void CFeedbackDlg::OnInitDialog()
{
    if (auto combo = framework::FindControlAs<QComboBox>(this, res::participation::IDC_DATASET)) {
        QStringList choices{quorin::FeedbackAllDatasets()};
        if (const auto datasets = quorin::ReadTexts(
                Document(), QStringLiteral("Select distinct dataset from dataset order by dataset"), "dataset"))
            choices += *datasets;
        // The list is sorted, "All" among the names.
        choices.sort(Qt::CaseInsensitive);
        combo->addItems(choices);
    }
    m_strDataset = quorin::FeedbackAllDatasets();
    CReportDlg::OnInitDialog();
    quorin::WidenColumnsToContents(*List());
}

void CFeedbackDlg::OnQuery()
{
    if (!UpdateData(true))
        return;
    // By dataset with no dataset typed: the list stays as it is.
    const bool byDate = !m_strFrom.isEmpty() && !m_strTo.isEmpty();
    if (!byDate && m_strDataset.isEmpty())
        return;
    Refill();
    quorin::WidenColumnsToContents(*List());
}

void CFeedbackDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    if (m_strFrom.isEmpty() || m_strTo.isEmpty())
        quorin::BuildFeedbackByDataset(query, list, m_strDataset);
    else
        quorin::BuildFeedbackByDate(query, list, m_strDataset, m_strFrom, m_strTo);
}

void CFeedbackDlg::OnSave()
{
    quorin::SaveListAsShown(Document().UI(), PrintTitle(), *List());
}
