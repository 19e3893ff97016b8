#include "implants/ui/SllTemplates.h"

#include "resources/FieldLengths.h"

namespace res {

void RegisterSllTemplates()
{
    RegisterWithFieldLengths(SllFormTemplate());
    RegisterWithFieldLengths(SpeechTestDialogTemplate());
}

} // namespace res
