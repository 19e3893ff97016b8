#include "audiograms/AudiogramViews.h"

#include "app/WorkspacePages.h"
#include "audiograms/CViewAud.h"

namespace quorin {

namespace {
constexpr unsigned kChartNode = 3;
}

void RegisterAudiogramViews()
{
    RegisterWorkspacePage(kChartNode, CViewAud::WindowClass());
}

} // namespace quorin
