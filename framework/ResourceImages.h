#pragma once
// Bitmaps and icons by resource id. The program's artwork lives in resources/, which
// installs its loader at start-up; until then every id loads as a null image.

#include <QIcon>
#include <QPixmap>

#include <functional>

namespace framework {

using ImageLoader = std::function<QPixmap(int resourceId)>;

void SetImageLoader(ImageLoader loader);

QPixmap LoadImageResource(int resourceId);

// A 16x16 icon, or a null icon when the resource is missing.
QIcon LoadSmallIcon(int resourceId);

} // namespace framework
