#pragma once
// The CI Database Lookup (191) and the id of its list.

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_CID_LOOKUP = 191;

namespace cidlookup {
enum : int { IDC_LIST = 1043 };
} // namespace cidlookup

framework::DialogTemplate CidLookupTemplate();

// Registers the template above with the framework.
void RegisterCidTemplates();

} // namespace res
