#include "subjects/ui/SubjectTemplates.h"

#include "resources/FieldLengths.h"

namespace res {

void RegisterSubjectTemplates()
{
    RegisterWithFieldLengths(SubjectFormTemplate());
    RegisterWithFieldLengths(OtherFormTemplate());
    RegisterWithFieldLengths(SubjectLookupTemplate());
    RegisterWithFieldLengths(MedicalManagerLookupTemplate(IDD_MM_LOOKUP_TWIN));
    RegisterWithFieldLengths(MedicalManagerLookupTemplate(IDD_MM_LOOKUP));
    RegisterWithFieldLengths(RecruitmentDialogTemplate());
}

} // namespace res
