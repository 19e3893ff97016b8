#include "admin/ui/CUsersDlg.h"

#include "admin/ui/AdminDialogs.h"
#include "admin/ui/CUserDlg.h"
#include "admin/store/UserAccounts.h"
#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "admin/ui/AdminTemplates.h"

#include <QComboBox>
#include <QPushButton>

using namespace res::users;

CUsersDlg::CUsersDlg(CQuorinDoc& document, QWidget* parent)
    : CTemplateDialog(res::IDD_USERS, parent), m_document(document)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, IDC_LIST);
    const auto button = [this](int id) { return framework::FindControlAs<QPushButton>(this, id); };
    connect(button(IDC_ADD), &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(button(IDC_MODIFY), &QPushButton::clicked, this, [this] { OnModify(); });
    connect(button(IDC_DELETE), &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(m_pList, &CReportListCtrl::listDoubleClicked, this, [this] { OnModify(); });
    connect(framework::FindControlAs<QComboBox>(this, IDC_FILTER), &QComboBox::activated, this,
            [this] { OnFilterChanged(); });
}

void CUsersDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBIndex(pDX, IDC_FILTER, m_nFilter);
}

void CUsersDlg::OnInitDialog()
{
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    quorin::LoadUsers(m_document, *m_pList, 0, true);
    // The names take the room the list has beyond the user names, so that a long one is
    // not cut while the list stays half empty.
    const int rest = m_pList->viewport()->width() - m_pList->GetColumnWidth(0);
    if (rest > m_pList->GetColumnWidth(1))
        m_pList->SetColumnWidth(1, rest);
}

void CUsersDlg::Reload()
{
    quorin::LoadUsers(m_document, *m_pList, m_nFilter, false);
}

void CUsersDlg::OnFilterChanged()
{
    UpdateData(true);
    Reload();
}

QString CUsersDlg::SelectedUser()
{
    const int row = m_pList->GetSelectionMark();
    if (row < 0) {
        m_document.UI().MessageBox(QStringLiteral("Please make a selection!"));
        return {};
    }
    return m_pList->GetItemText(row, 0);
}

void CUsersDlg::OnAdd()
{
    CUserDlg dialog(m_document, QString(), this);
    if (dialog.DoModal() == IDOK)
        quorin::CreateNewUser(m_document, dialog.Record());
    Reload();
}

void CUsersDlg::OnModify()
{
    const QString user = SelectedUser();
    if (user.isEmpty())
        return;
    CUserDlg dialog(m_document, user, this);
    if (dialog.Load() && dialog.DoModal() == IDOK) {
        quorin::UpdatePers(m_document, dialog.Record(), dialog.m_nLoadedStatus, dialog.m_bResetPassword != 0);
        quorin::KeepApplicationPassword(m_document);
    }
    Reload();
}

void CUsersDlg::OnDelete()
{
    const QString user = SelectedUser();
    if (user.isEmpty())
        return;
    quorin::DeactivateUser(m_document, user);
    Reload();
}
