#include "implants/ui/SllForms.h"

#include "registration/WorkspacePages.h"
#include "framework/TVisualFormView.h"
#include "implants/ui/CFormSLL.h"
#include "implants/ui/SllTemplates.h"

namespace quorin {

namespace {
constexpr unsigned kSllNode = 9;
} // namespace

void RegisterSllForms()
{
    res::RegisterSllTemplates();
    RegisterWorkspacePage(kSllNode, TVisualFormView::ClassOf<CFormSLL>(QStringLiteral("CFormSLL")));
}

} // namespace quorin
