#include "admin/ui/CUserDlg.h"

#include "admin/store/UserAccounts.h"
#include "document/CQuorinDoc.h"
#include "controls/DdxFields.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "admin/ui/AdminTemplates.h"

#include <QLineEdit>
#include <QPalette>

using namespace res::user;
using quorin::UserInterface;

CUserDlg::CUserDlg(CQuorinDoc& document, const QString& userName, QWidget* parent)
    : CTemplateDialog(res::IDD_USER, parent), m_document(document), m_strLoadUser(userName)
{
}

bool CUserDlg::Load()
{
    if (!IsModify())
        return true;
    CPersRecord record;
    if (!quorin::LoadPersByUsername(m_document, m_strLoadUser, record))
        return false;
    m_nPersId = record.PersId;
    m_strLastName = record.LastName;
    m_strFirstName = record.FirstName;
    m_nStatus = record.Status;
    m_nLoadedStatus = record.Status;
    m_strCiti = record.Citi;
    m_strNih = record.Nih;
    // Shown as the edit shows what is typed: in capitals.
    m_strUserName = record.UserName.toUpper();
    setWindowTitle(QStringLiteral("%1, %2").arg(record.LastName, record.FirstName));
    return true;
}

void CUserDlg::OnInitDialog()
{
    if (IsModify()) {
        if (auto edit = framework::FindControlAs<QLineEdit>(this, IDC_USERNAME)) {
            edit->setReadOnly(true);
            // Shown as a field that takes no typing, on the dialog's own colour.
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            edit->setPalette(palette);
            // Nothing to type there: the first field to edit gets the focus.
            if (auto last = framework::FindControl(this, IDC_LAST))
                last->setFocus(Qt::OtherFocusReason);
        }
    } else if (auto user = framework::FindControl(this, IDC_USERNAME)) {
        user->setFocus(Qt::OtherFocusReason);
    }
}

void CUserDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_USERNAME, m_strUserName);
    DDX_Text(pDX, IDC_LAST, m_strLastName);
    DDX_Text(pDX, IDC_FIRST, m_strFirstName);
    DDX_CBIndex(pDX, IDC_STATUS, m_nStatus);
    DDX_DateField(pDX, IDC_CITI, m_strCiti);
    DDX_DateField(pDX, IDC_NIH, m_strNih);
    DDX_Check(pDX, IDC_RESET, m_bResetPassword);
}

void CUserDlg::Refuse(const QString& message, int controlId)
{
    m_document.UI().MessageBox(message, UserInterface::Icon::Stop);
    if (QWidget* control = framework::FindControl(this, controlId))
        control->setFocus(Qt::OtherFocusReason);
}

void CUserDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_nStatus < 0)
        m_nStatus = quorin::StaffInactive;
    if (m_strUserName.isEmpty())
        return Refuse(QStringLiteral("Please Enter a UserName"), IDC_USERNAME);
    // A name no login may have never reaches a statement.
    if (!quorin::IsValidUserName(m_strUserName.toLower()))
        return Refuse(quorin::UserNameRuleMessage(), IDC_USERNAME);
    if (m_strLastName.isEmpty())
        return Refuse(QStringLiteral("Please Enter a Last Name"), IDC_LAST);
    if (m_strFirstName.isEmpty())
        return Refuse(QStringLiteral("Please Enter a First Name"), IDC_FIRST);
    accept();
}

CPersRecord CUserDlg::Record() const
{
    CPersRecord record;
    record.PersId = IsModify() ? m_nPersId : 0;
    record.Status = m_nStatus < 0 ? quorin::StaffInactive : m_nStatus;
    record.LastName = m_strLastName;
    record.FirstName = m_strFirstName;
    record.Name = QStringLiteral("%1, %2").arg(m_strLastName, m_strFirstName);
    record.UserName = m_strUserName.toLower();
    record.Citi = m_strCiti;
    record.Nih = m_strNih;
    return record;
}
