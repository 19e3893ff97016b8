#include "implants/ui/CiDataTemplates.h"

#include "resources/FieldLengths.h"

namespace res {

void RegisterCiDataTemplates()
{
    RegisterWithFieldLengths(CiDataFormTemplate());
    RegisterWithFieldLengths(CiSpeechDialogTemplate());
    RegisterWithFieldLengths(CiDeviceDialogTemplate());
}

} // namespace res
