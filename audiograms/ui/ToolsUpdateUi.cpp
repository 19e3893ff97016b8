#include "audiograms/ui/ToolsUpdateUi.h"

#include "document/CQuorinDoc.h"
#include "registration/DocumentCommandRegistry.h"
#include "resources/Resource.h"

namespace quorin {

void RegisterToolsUpdate()
{
    RegisterDocumentCommand(res::ID_TOOLS_UPDATE, {[](CQuorinDoc& d) { d.OnToolsUpdate(); }, {}});
}

} // namespace quorin
