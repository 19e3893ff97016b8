#include "implants/ui/CCidLookupDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "implants/store/CidAccess.h"
#include "implants/ui/CidTemplates.h"

using quorin::UserInterface;

CCidLookupDlg::CCidLookupDlg(CQuorinDoc& document, QWidget* parent)
    : CTemplateDialog(res::IDD_CID_LOOKUP, parent), m_document(document)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, res::cidlookup::IDC_LIST);
    // The text above the list asks for a double click: it picks the row as OK does.
    connect(m_pList, &CReportListCtrl::listDoubleClicked, this, [this] { OnOK(); });
}

void CCidLookupDlg::OnInitDialog()
{
    m_pList->InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 140);
    m_pList->InsertColumn(1, QStringLiteral("Unit"), CReportListCtrl::FormatLeft, 72);
    m_pList->InsertColumn(2, QStringLiteral("Birth Date"), CReportListCtrl::FormatLeft, 72);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);

    quorin::WaitCursor wait(m_document.UI());
    if (!quorin::ConnectCid(m_document, m_cidDb)) {
        m_document.UI().MessageBox(QStringLiteral("Unable to connect to CID!"), UserInterface::Icon::Stop);
        return;
    }
    std::vector<quorin::CidPatientRow> rows;
    quorin::LookupCidPatients(m_cidDb, m_document.UI(), m_strUnit, m_strLast, m_strFirst, rows);
    for (int i = 0; i < int(rows.size()); ++i) {
        const quorin::CidPatientRow& r = rows[i];
        const int item = m_pList->InsertItem(i, QStringLiteral("%1, %2").arg(r.lastname, r.firstname));
        m_pList->SetItemData(item, r.patientId);
        m_pList->SetItemText(item, 1, r.unit);
        m_pList->SetItemText(item, 2, r.birth.trimmed());
    }
}

void CCidLookupDlg::OnOK()
{
    // The row the user sees selected, not a row that only has the keyboard focus.
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0) {
        m_document.UI().MessageBox(QStringLiteral("Please Make Selection From First Column"),
                                   UserInterface::Icon::Stop);
        return;
    }
    m_nPatientId = static_cast<int>(m_pList->GetItemData(row));
    accept();
}
