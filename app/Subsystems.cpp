#include "app/Subsystems.h"

#include "subjects/SubjectForms.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
}

} // namespace quorin
