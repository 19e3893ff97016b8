#include "resources/CiDataTemplates.h"

#include "framework/TemplateRegistry.h"

namespace res {

void RegisterCiDataTemplates()
{
    framework::RegisterDialogTemplate(CiDataFormTemplate());
    framework::RegisterDialogTemplate(CiSpeechDialogTemplate());
    framework::RegisterDialogTemplate(CiDeviceDialogTemplate());
}

} // namespace res
