#include "audiograms/AudiogramViews.h"

#include "app/WorkspacePages.h"
#include "audiograms/CFormAudData.h"
#include "audiograms/CFormAudOther.h"
#include "audiograms/CViewAud.h"
#include "resources/AudTemplates.h"

namespace quorin {

namespace {
constexpr unsigned kChartNode = 3;
constexpr unsigned kDataNode = 4;
constexpr unsigned kCommentsNode = 7;
}

void RegisterAudiogramViews()
{
    res::RegisterAudTemplates();
    RegisterWorkspacePage(kChartNode, CViewAud::WindowClass());
    RegisterWorkspacePage(kDataNode, TVisualFormView::ClassOf<CFormAudData>(QStringLiteral("CFormAudData")));
    RegisterWorkspacePage(kCommentsNode, TVisualFormView::ClassOf<CFormAudOther>(QStringLiteral("CFormAudOther")));
}

} // namespace quorin
