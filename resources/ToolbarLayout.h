#pragma once
// The buttons of toolbar 128 in order; 0 stands for a separator.

#include <span>

namespace res {

std::span<const unsigned> MainToolbar();

} // namespace res
