#include "implants/ui/CiDataForms.h"

#include "registration/WorkspacePages.h"
#include "framework/TVisualFormView.h"
#include "implants/ui/CFormCIDataView.h"
#include "implants/ui/CiDataTemplates.h"

namespace quorin {

namespace {
constexpr unsigned kCiDataNode = 8;
} // namespace

void RegisterCiDataForms()
{
    res::RegisterCiDataTemplates();
    RegisterWorkspacePage(kCiDataNode, TVisualFormView::ClassOf<CFormCIDataView>(QStringLiteral("CFormCIDataView")));
}

} // namespace quorin
