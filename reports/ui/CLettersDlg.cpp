#include "reports/ui/CLettersDlg.h"

#include "framework/ControlId.h"
#include "reports/query/LettersReport.h"
#include "reports/ui/ConsentReportTemplates.h"

#include <QAbstractButton>

CLettersDlg::CLettersDlg(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_LETTERS, document, QStringLiteral("Letters"), parent)
{
    SetDateRangeDefaults(QStringLiteral("1/1/2000"), true);
    // The counts wait for Query.
    SetFillOnOpen(false);
    if (auto close = framework::FindControlAs<QAbstractButton>(this, res::consent::IDC_CLOSE))
        connect(close, &QAbstractButton::clicked, this, [this] { reject(); });
}

std::vector<CReportDlg::Column> CLettersDlg::Columns() const
{
    std::vector<Column> columns;
    for (const auto& [heading, width] : quorin::LettersColumns())
        columns.push_back({heading, width});
    return columns;
}

void CLettersDlg::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildLettersList(query, list, m_strFrom, m_strTo);
}
