#include "implants/SllForms.h"

#include "app/WorkspacePages.h"
#include "framework/TVisualFormView.h"
#include "implants/CFormSLL.h"
#include "resources/SllTemplates.h"

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
