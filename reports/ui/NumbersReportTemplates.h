#pragma once
// The windows of the Database Numbers (179), Numbers added per month (180) and
// Demographics (188) reports as data.

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_DATABASE_NUMBERS = 179;
inline constexpr int IDD_MONTHLY_NUMBERS = 180;
inline constexpr int IDD_DEMOGRAPHICS = 188;

namespace numbers {
inline constexpr int IDC_RACE = 1103;        // Demographics' view radios: Race, Ethnicity, Both
inline constexpr int IDC_ETHNICITY = 1104;
inline constexpr int IDC_BOTH = 1110;
inline constexpr int IDC_ACTIVE_ONLY = 1109; // "Active Subjects Only" / "Show Active Patients Only"
} // namespace numbers

framework::DialogTemplate DatabaseNumbersTemplate();
framework::DialogTemplate MonthlyNumbersTemplate();
framework::DialogTemplate DemographicsTemplate();

// Registers the three with the framework.
void RegisterNumbersReportTemplates();

} // namespace res
