#pragma once
// The program's own artwork, drawn in code: toolbar button images (16x15), the icons of
// the application and the workspace tabs, and the institute's logo.

#include <QColor>
#include <QImage>
#include <QPixmap>

namespace res {

// The image of a toolbar command; null for an id without one.
QPixmap ToolbarImage(unsigned commandId);

// Icons (128, 129, 133, 134, 135) and the logo bitmap (157); null for other ids.
QPixmap ImageResource(int resourceId);

// The program's icon, the logo's ear, drawn square at the given size in pixels (the
// window's icon, and the desktop's icons of the package).
QImage ApplicationIcon(int pixels);

// The logo as a 16-colour image on a white background, 203 by 140 pixels.
QImage LogoImage();

// The left half of a logo image with its white turned into the given background colour,
// as the login dialog and the Subject tab paint it, so it sits on them without a white box.
QImage LogoOnBackground(const QImage& logo, const QColor& background);

} // namespace res
