#include "framework/ResourceImages.h"

namespace framework {
namespace {
ImageLoader& Loader()
{
    static ImageLoader loader;
    return loader;
}
} // namespace

void SetImageLoader(ImageLoader loader)
{
    Loader() = std::move(loader);
}

QPixmap LoadImageResource(int resourceId)
{
    return Loader() ? Loader()(resourceId) : QPixmap();
}

QIcon LoadSmallIcon(int resourceId)
{
    const QPixmap image = LoadImageResource(resourceId);
    if (image.isNull())
        return QIcon();
    return QIcon(image.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace framework
