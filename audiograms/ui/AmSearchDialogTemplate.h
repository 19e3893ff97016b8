#pragma once
// Audiogram Manager Database Search Results (162): the clinic's patients matching a
// subject being entered, laid out like Subject Lookup (159).

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_AM_SEARCH = 162;

namespace amsearch {
enum : int { IDC_LIST = 1043 };
} // namespace amsearch

framework::DialogTemplate AmSearchDialogTemplate();

} // namespace res
