#include "admin/ui/CChangePasswordDlg.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "admin/ui/AdminTemplates.h"

#include <QLineEdit>

using namespace res::password;

CChangePasswordDlg::CChangePasswordDlg(CQuorinDoc& document, QWidget* parent)
    : CTemplateDialog(res::IDD_CHANGE_PASSWORD, parent), m_document(document)
{
}

void CChangePasswordDlg::OnInitDialog()
{
    if (QWidget* old = framework::FindControl(this, IDC_OLD))
        old->setFocus(Qt::OtherFocusReason);
}

void CChangePasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_NEW, m_strNewPassword);
    DDX_Text(pDX, IDC_REENTER, m_strReenteredPassword);
    DDX_Text(pDX, IDC_OLD, m_strOldPassword);
}

void CChangePasswordDlg::Refuse(const QString& message, int controlId)
{
    m_document.UI().MessageBox(message);
    if (QWidget* control = framework::FindControl(this, controlId))
        control->setFocus(Qt::OtherFocusReason);
}

void CChangePasswordDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_strOldPassword.isEmpty())
        return Refuse(QStringLiteral("You must enter your old Password."), IDC_OLD);
    if (m_strNewPassword.isEmpty())
        return Refuse(QStringLiteral("You must enter a new Password."), IDC_NEW);
    if (m_strReenteredPassword.isEmpty())
        return Refuse(QStringLiteral("You must enter a new Password twice."), IDC_REENTER);
    if (m_strNewPassword != m_strReenteredPassword) {
        m_strNewPassword.clear();
        m_strReenteredPassword.clear();
        for (const int id : {IDC_NEW, IDC_REENTER})
            if (auto edit = framework::FindControlAs<QLineEdit>(this, id))
                edit->clear();
        return Refuse(QStringLiteral("Mismatch in new password!"), IDC_NEW);
    }
    accept();
}
