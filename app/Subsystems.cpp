#include "app/Subsystems.h"

#include "audiograms/AudiogramViews.h"
#include "subjects/SubjectForms.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterAudiogramViews();
}

} // namespace quorin
