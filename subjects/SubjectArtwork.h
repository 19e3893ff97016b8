#pragma once
// The Subject tab's own artwork: the notice icon (resource 164) and the logo as the
// form paints it.

#include <QColor>
#include <QImage>
#include <QPixmap>

namespace quorin {

// A 32x32 notice sign drawn in code: a yellow triangle with an exclamation mark.
QPixmap NoticeIcon();

// The left half of the logo bitmap (resource 157) with its white turned into the given
// background colour, so the logo sits on the form without a white box around it.
QImage LogoOnBackground(const QImage& logo, const QColor& background);

} // namespace quorin
