#include "admin/ui/AdminDialogs.h"

#include "admin/ui/CChangePasswordDlg.h"
#include "admin/ui/CUsersDlg.h"
#include "admin/store/UserAccounts.h"
#include "document/CQuorinDoc.h"
#include "registration/DialogRegistry.h"
#include "admin/ui/AdminTemplates.h"

namespace quorin {

namespace {

std::function<void(const CQuorinDoc&)>& PasswordKeeper()
{
    static std::function<void(const CQuorinDoc&)> keeper;
    return keeper;
}

} // namespace

void KeepApplicationPassword(const CQuorinDoc& document)
{
    if (PasswordKeeper())
        PasswordKeeper()(document);
}

void RegisterAdminDialogs(std::function<void(const CQuorinDoc&)> keepPassword)
{
    PasswordKeeper() = std::move(keepPassword);
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
