#include "subjects/SubjectForms.h"

#include "app/DialogRegistry.h"
#include "app/WorkspacePages.h"
#include "framework/TVisualFormView.h"
#include "resources/SubjectTemplates.h"
#include "subjects/CFormOther.h"
#include "subjects/CFormSubject.h"
#include "subjects/CRecruitmentDlg.h"

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
