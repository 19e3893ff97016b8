#include "admin/AdminDialogs.h"

#include "admin/CChangePasswordDlg.h"
#include "admin/CUsersDlg.h"
#include "admin/UserAccounts.h"
#include "app/CQuorinApp.h"
#include "app/CQuorinDoc.h"
#include "app/DialogRegistry.h"
#include "resources/AdminTemplates.h"

namespace quorin {

void KeepApplicationPassword(const CQuorinDoc& document)
{
    CQuorinApp* app = CQuorinApp::Instance();
    if (app && app->GetDocument() == &document)
        app->m_strPassword = document.m_strPassword;
}

void RegisterAdminDialogs()
{
    res::RegisterAdminTemplates();
    RegisterDialogWindow<CUsersDlg>(UserInterface::Dialog::Users, WindowShown::Modal);
    RegisterDialog(UserInterface::Dialog::ChangePassword, [](QWidget* parent, CQuorinDoc& document) {
        CChangePasswordDlg dialog(document, parent);
        const int result = dialog.DoModal();
        if (result == CTemplateDialog::IDOK
            && ChangePassword(document, dialog.m_strOldPassword, dialog.m_strNewPassword,
                              dialog.m_strReenteredPassword))
            KeepApplicationPassword(document);
        return result;
    });
}

} // namespace quorin
