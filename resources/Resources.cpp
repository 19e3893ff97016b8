#include "resources/Resources.h"

#include "framework/ResourceImages.h"
#include "resources/Artwork.h"
#include "resources/DialogTemplates.h"

namespace res {

void InstallResources()
{
    RegisterDialogTemplates();
    framework::SetImageLoader([](int id) { return ImageResource(id); });
}

} // namespace res
