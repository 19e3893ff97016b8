#pragma once
// The Change History window (199): the list, Print and Save with the ids every report
// window shares, and Close.

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_CHANGE_HISTORY = 199;

framework::DialogTemplate ChangeHistoryTemplate();

} // namespace res
