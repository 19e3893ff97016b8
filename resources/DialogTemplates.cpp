#include "resources/DialogTemplates.h"

#include "framework/AccessibleFactory.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateRegistry.h"
#include "resources/MenuLayout.h"

namespace res {

void RegisterDialogTemplates()
{
    // Before the first window: Qt settles on a widget's accessible interface the first
    // time the widget changes, shown or not.
    framework::InstallAccessibleFactories();
    // A label's mnemonic must not take the letter of a menu: Alt with it would then
    // reach neither.
    for (const MenuPopup& popup : MainMenu()) {
        const QString title = QString::fromUtf8(popup.title);
        const int at = title.indexOf(u'&');
        if (at >= 0 && at + 1 < title.size())
            framework::ReserveMnemonics(title.mid(at + 1, 1));
    }
    framework::RegisterDialogTemplate(LoginDialogTemplate());
    framework::RegisterDialogTemplate(AboutDialogTemplate());
}

} // namespace res
