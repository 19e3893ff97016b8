#include "resources/DialogTemplates.h"

#include "framework/TemplateRegistry.h"

namespace res {

void RegisterDialogTemplates()
{
    framework::RegisterDialogTemplate(LoginDialogTemplate());
    framework::RegisterDialogTemplate(AboutDialogTemplate());
}

} // namespace res
