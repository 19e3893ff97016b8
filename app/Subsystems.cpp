#include "app/Subsystems.h"

#include "subjects/SubjectForms.h"
#include "implants/SllForms.h"

namespace quorin {

void RegisterSubsystems()
{
    RegisterSubjectForms();
    RegisterSllForms();
}

} // namespace quorin
