#include "implants/CiDataForms.h"

#include "app/WorkspacePages.h"
#include "framework/TVisualFormView.h"
#include "implants/CFormCIDataView.h"
#include "resources/CiDataTemplates.h"

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
