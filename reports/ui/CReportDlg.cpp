#include "reports/ui/CReportDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "reports/query/OpenSubjectFromRow.h"
#include "reports/ui/PrintList.h"

#include <QAbstractButton>

CReportDlg::CReportDlg(int templateId, CQuorinDoc& document, const QString& printTitle, QWidget* parent)
    : CTemplateDialog(templateId, parent), m_document(document), m_printTitle(printTitle)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, IDC_LIST);
    if (!m_pList) // a template without the list still gets one, so no report reads a null list
        m_pList = new CReportListCtrl(this);
    if (auto print = framework::FindControlAs<QAbstractButton>(this, IDC_PRINT))
        connect(print, &QAbstractButton::clicked, this, [this] { OnPrint(); });
    if (auto query = framework::FindControlAs<QAbstractButton>(this, IDC_QUERY))
        connect(query, &QAbstractButton::clicked, this, [this] { OnQuery(); });
}

std::vector<int> CReportDlg::GivenWidths() const
{
    std::vector<int> widths;
    for (const Column& column : Columns())
        widths.push_back(column.width);
    return widths;
}

void CReportDlg::SetDateRangeDefaults(const QString& from, bool toToday)
{
    m_hasRange = true;
    m_defaultFrom = from;
    m_defaultToToday = toToday;
}

void CReportDlg::OpenSubjectsOnDoubleClick()
{
    connect(m_pList, &CReportListCtrl::listDoubleClicked, this, &CReportDlg::OnListDoubleClick,
            Qt::UniqueConnection);
}

void CReportDlg::DoDataExchange(CDataExchange* pDX)
{
    if (framework::FindControl(this, IDC_FROM))
        DDX_Text(pDX, IDC_FROM, m_strFrom);
    if (framework::FindControl(this, IDC_TO))
        DDX_Text(pDX, IDC_TO, m_strTo);
}

void CReportDlg::OnInitDialog()
{
    if (m_hasRange) {
        m_strFrom = m_defaultFrom;
        m_strTo = m_defaultToToday ? m_document.Today() : QString();
        UpdateData(false);
    }
    int index = 0;
    for (const Column& column : Columns())
        m_pList->InsertColumn(index++, column.heading, CReportList::FormatLeft, column.width);
    if (m_fillOnOpen)
        Refill();
}

void CReportDlg::OnReopen()
{
    if (m_fillOnOpen && UpdateData(true))
        Refill();
}

bool CReportDlg::Refill()
{
    return quorin::FillReport(m_document, *m_pList, [this](quorin::CReportQuery& query, CReportList& list) {
        BuildList(query, list);
    });
}

void CReportDlg::OnPrint()
{
    quorin::PrintList(m_document, m_printTitle, *m_pList, this);
}

void CReportDlg::OnQuery()
{
    if (UpdateData(true))
        Refill();
}

int CReportDlg::SelectedRow()
{
    const int row = m_pList->GetSelectionMark();
    if (row < 0)
        m_document.UI().MessageBox(QStringLiteral("Please make a selection!"));
    return row;
}

void CReportDlg::OnListDoubleClick()
{
    quorin::OpenSubjectFromRow(m_document, *m_pList, m_pList->GetSelectionMark());
}
