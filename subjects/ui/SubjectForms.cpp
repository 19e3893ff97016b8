#include "subjects/ui/SubjectForms.h"

#include "registration/DialogRegistry.h"
#include "registration/WorkspacePages.h"
#include "framework/TVisualFormView.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormOther.h"
#include "subjects/ui/CFormSubject.h"
#include "subjects/ui/CRecruitmentDlg.h"

namespace quorin {

namespace {
constexpr unsigned kSubjectNode = 5;
constexpr unsigned kOtherNode = 6;
} // namespace

void RegisterSubjectForms()
{
    res::RegisterSubjectTemplates();
    RegisterWorkspacePage(kSubjectNode, TVisualFormView::ClassOf<CFormSubject>(QStringLiteral("CFormSubject")));
    RegisterWorkspacePage(kOtherNode, TVisualFormView::ClassOf<CFormOther>(QStringLiteral("CFormOther")));
    RegisterDialog(UserInterface::Dialog::Recruitment, [](QWidget* parent, CQuorinDoc& document) {
        CRecruitmentDlg dialog(document, parent);
        return dialog.DoModal();
    });
}

} // namespace quorin
