#include "resources/DialogTemplates.h"

#include "framework/AccessibleFactory.h"
#include "framework/TemplateAccessibility.h"
#include "framework/TemplateRegistry.h"
#include "resources/CommandTable.h"
#include "resources/MenuLayout.h"

namespace res {

void RegisterDialogTemplates()
{
    // Before the first window: Qt settles on a widget's accessible interface the first
    // time the widget changes, shown or not.
    framework::InstallAccessibleFactories();
    // A label's mnemonic must not take the letter of a menu or of a command's Alt key:
    // Alt with it would then reach neither.
    for (const MenuPopup& popup : MainMenu()) {
        const QString title = QString::fromUtf8(popup.title);
        const int at = title.indexOf(u'&');
        if (at >= 0 && at + 1 < title.size())
            framework::ReserveMnemonics(title.mid(at + 1, 1));
    }
    for (const CommandInfo& command : Commands()) {
        for (const QString& key : QString::fromUtf8(command.shortcuts).split(QStringLiteral("; "))) {
            if (key.size() == 5 && key.startsWith(QLatin1String("Alt+")))
                framework::ReserveMnemonics(key.right(1));
        }
    }
    framework::RegisterDialogTemplate(LoginDialogTemplate());
    framework::RegisterDialogTemplate(AboutDialogTemplate());
}

} // namespace res
