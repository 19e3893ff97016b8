#include "audiograms/ToolsUpdateUi.h"

#include "app/CQuorinDoc.h"
#include "app/DocumentCommandRegistry.h"
#include "resources/Resource.h"

namespace quorin {

void RegisterToolsUpdate()
{
    RegisterDocumentCommand(res::ID_TOOLS_UPDATE, {[](CQuorinDoc& d) { d.OnToolsUpdate(); }, {}});
}

} // namespace quorin
