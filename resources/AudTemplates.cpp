#include "resources/AudTemplates.h"

#include "framework/TemplateRegistry.h"

namespace res {

void RegisterAudTemplates()
{
    framework::RegisterDialogTemplate(AudDataFormTemplate());
    framework::RegisterDialogTemplate(AudOtherFormTemplate());
}

} // namespace res
