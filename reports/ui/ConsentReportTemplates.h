#pragma once
// The windows of the Consent, Contact and Letters reports as data.

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_CONSENT_REPORT = 183;
inline constexpr int IDD_CONTACT_REPORT = 184;
inline constexpr int IDD_LETTERS = 194;

namespace consent {
inline constexpr int IDC_CLOSE = 8;        // Letters' Close
inline constexpr int IDC_SHOW_NR = 1161;   // Consent's "Show NR Only"
} // namespace consent

framework::DialogTemplate ConsentReportTemplate();
framework::DialogTemplate ContactReportTemplate();
framework::DialogTemplate LettersTemplate();

// Registers the three with the framework.
void RegisterConsentReportTemplates();

} // namespace res
