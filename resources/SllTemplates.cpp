#include "resources/SllTemplates.h"

#include "framework/TemplateRegistry.h"

namespace res {

void RegisterSllTemplates()
{
    framework::RegisterDialogTemplate(SllFormTemplate());
    framework::RegisterDialogTemplate(SpeechTestDialogTemplate());
}

} // namespace res
