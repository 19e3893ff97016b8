#include "registration/WorkspacePages.h"

#include "framework/TVisualFormView.h"

#include <map>

namespace quorin {
namespace {
std::map<unsigned, TWindowClass>& Pages()
{
    static std::map<unsigned, TWindowClass> pages;
    return pages;
}
} // namespace

void RegisterWorkspacePage(unsigned nodeId, TWindowClass windowClass)
{
    Pages()[nodeId] = std::move(windowClass);
}

QString WorkspacePageClassName(unsigned nodeId)
{
    switch (nodeId) {
    case 3: return QStringLiteral("CViewAud");
    case 4: return QStringLiteral("CFormAudData");
    case 5: return QStringLiteral("CFormSubject");
    case 6: return QStringLiteral("CFormOther");
    case 7: return QStringLiteral("CFormAudOther");
    case 8: return QStringLiteral("CFormCIDataView");
    case 9: return QStringLiteral("CFormSLL");
    default: return QString();
    }
}

TWindowClass WorkspacePageClass(unsigned nodeId)
{
    const auto found = Pages().find(nodeId);
    if (found != Pages().end())
        return found->second;
    return TVisualFormView::EmptyFormClass(WorkspacePageClassName(nodeId));
}

} // namespace quorin
