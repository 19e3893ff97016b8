#pragma once
// The Subject tab's own artwork: the notice icon (resource 164).

#include <QPixmap>

namespace quorin {

// A 32x32 notice sign drawn in code: a yellow triangle with an exclamation mark.
QPixmap NoticeIcon();

} // namespace quorin
