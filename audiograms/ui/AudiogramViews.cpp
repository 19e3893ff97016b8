#include "audiograms/ui/AudiogramViews.h"

#include "registration/WorkspacePages.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "audiograms/ui/CViewAud.h"
#include "audiograms/ui/AudTemplates.h"

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
