#pragma once
// The Dataset and IRB report window (185) and the ids of its own controls; the list,
// From, To, Query, Print and Save carry the ids every report window shares.

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_REPORT_DATASETS = 185;

namespace datasets {
enum : int { IDC_BY_DATE = 1103, IDC_BY_IRB = 1104, IDC_OPEN_ONLY = 1106, IDC_EMAIL = 1009 };
} // namespace datasets

framework::DialogTemplate DatasetReportTemplate();

} // namespace res
