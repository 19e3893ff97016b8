#include "audiograms/ui/AudTemplates.h"

#include "resources/FieldLengths.h"

namespace res {

void RegisterAudTemplates()
{
    RegisterWithFieldLengths(AudDataFormTemplate());
    RegisterWithFieldLengths(AudOtherFormTemplate());
}

} // namespace res
