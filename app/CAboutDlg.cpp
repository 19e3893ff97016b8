#include "app/CAboutDlg.h"

#include "app/ComponentVersions.h"
#include "framework/ControlId.h"
#include "resources/Resource.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CTemplateDialog(res::IDD_ABOUTBOX, parent)
{
    framework::SetWindowText(framework::FindControl(this, res::IDC_ABOUT_COMPONENT1), quorin::DataAccessLine());
    framework::SetWindowText(framework::FindControl(this, res::IDC_ABOUT_COMPONENT2), quorin::OdbcLine());
    framework::SetWindowText(framework::FindControl(this, res::IDC_ABOUT_COMPONENT3), quorin::SqliteLine());
}
