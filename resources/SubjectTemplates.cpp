#include "resources/SubjectTemplates.h"

#include "framework/TemplateRegistry.h"

namespace res {

void RegisterSubjectTemplates()
{
    framework::RegisterDialogTemplate(SubjectFormTemplate());
    framework::RegisterDialogTemplate(OtherFormTemplate());
    framework::RegisterDialogTemplate(SubjectLookupTemplate());
    framework::RegisterDialogTemplate(MedicalManagerLookupTemplate(IDD_MM_LOOKUP_TWIN));
    framework::RegisterDialogTemplate(MedicalManagerLookupTemplate(IDD_MM_LOOKUP));
    framework::RegisterDialogTemplate(RecruitmentDialogTemplate());
}

} // namespace res
