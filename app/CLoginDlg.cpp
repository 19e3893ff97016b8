#include "app/CLoginDlg.h"

#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/MessageBox.h"
#include "resources/Artwork.h"
#include "resources/Resource.h"

#include <QPainter>

CLoginDlg::CLoginDlg(QWidget* parent) : CTemplateDialog(res::IDD_LOGIN, parent)
{
}

void CLoginDlg::OnInitDialog()
{
    // A user name filled in beforehand (the first start's administrator) leaves only the
    // password to type.
    const int first = m_strUserName.isEmpty() ? res::IDC_USERNAME : res::IDC_PASSWORD;
    if (QWidget* field = framework::FindControl(this, first))
        field->setFocus(Qt::OtherFocusReason);
}

void CLoginDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::IDC_USERNAME, m_strUserName);
    DDX_Text(pDX, res::IDC_PASSWORD, m_strPassword);
    DDX_Text(pDX, res::IDC_SERVER, m_strServer);
}

void CLoginDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_strUserName.isEmpty()) {
        framework::ShowMessage(this, {QStringLiteral("You must enter a username"), framework::MessageIcon::Stop,
                                      framework::MessageButtons::Ok});
        return;
    }
    accept();
}

void CLoginDlg::paintEvent(QPaintEvent* event)
{
    CTemplateDialog::paintEvent(event);
    // The colour at the dialog's top-left pixel is its background colour.
    const QImage logo = res::LogoOnBackground(res::LogoImage(), palette().color(backgroundRole()));
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), logo);
}
