#pragma once
// The controls every report window's template shares, by id: the windows (CReportDlg)
// find them by these and every report template lays them out with them.

namespace res::report {

inline constexpr int kList = 1043;
inline constexpr int kFrom = 1097;
inline constexpr int kTo = 1098;
inline constexpr int kQuery = 1099;
inline constexpr int kPrint = 1100;
inline constexpr int kSave = 1108;
inline constexpr int kOk = 1; // Close, or OK

} // namespace res::report
