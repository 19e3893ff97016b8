#include "audiograms/ui/CAmSearchDlg.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "registration/DialogRegistry.h"
#include "audiograms/store/AmSearch.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateRegistry.h"
#include "audiograms/ui/AmSearchDialogTemplate.h"

using quorin::UserInterface;

CAmSearchDlg::CAmSearchDlg(CQuorinDoc& document, QWidget* parent)
    : CTemplateDialog(res::IDD_AM_SEARCH, parent), m_document(document)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, res::amsearch::IDC_LIST);
    m_pList->InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 140);
    m_pList->InsertColumn(1, QStringLiteral("Unit"), CReportListCtrl::FormatLeft, 72);
    m_pList->InsertColumn(2, QStringLiteral("Birth Date"), CReportListCtrl::FormatLeft, 72);
    connect(m_pList, &CReportListCtrl::listDoubleClicked, this, [this] { OnOK(); });
}

int CAmSearchDlg::Search()
{
    quorin::WaitCursor wait(m_document.UI());
    m_pList->DeleteAllItems();
    const CSubject& s = m_document.m_subject;
    MyADO& aud = m_document.m_dbAud;
    const QString sql = quorin::am::SearchQuery(s.Unit, s.Lastname, s.Firstname, s.Birth);
    if (!quorin::RunText(aud, sql))
        return -1;
    int row = 0;
    for (; !aud.IsEOF(); aud.MoveNext(), ++row) {
        const int item = m_pList->InsertItem(row, QStringLiteral("%1, %2").arg(quorin::StringField(aud, "Last"),
                                                                                quorin::StringField(aud, "First")));
        m_pList->SetItemText(item, 1, QString::asprintf("%d", aud.GetIntField("Unit")));
        m_pList->SetItemText(item, 2, quorin::StringField(aud, "Birth").trimmed());
    }
    return row;
}

void CAmSearchDlg::OnOK()
{
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0) {
        m_document.UI().MessageBox(QStringLiteral("Please Make Selection From First Column"),
                                   UserInterface::Icon::Stop);
        return;
    }
    QString unit = m_pList->GetItemText(row, 1).left(9);
    while (!unit.isEmpty() && unit.back().isSpace())
        unit.chop(1);
    m_document.m_subject.Unit = unit;
    accept();
}

namespace quorin {

void RegisterAmSearchDialog()
{
    framework::RegisterDialogTemplate(res::AmSearchDialogTemplate());
    RegisterDialog(UserInterface::Dialog::AmSearch, [](QWidget* parent, CQuorinDoc& document) {
        CAmSearchDlg dialog(document, parent);
        const int found = dialog.Search();
        if (found < 0)
            return int(CTemplateDialog::IDCANCEL);
        if (found == 0)
            return -1;
        return dialog.DoModal();
    });
}

} // namespace quorin
