#pragma once
// The windows of the Participation, Feedback and Closed Dataset reports as data; the
// list, From, To, Query, Print and Save carry the ids every report window shares.

#include "framework/DialogTemplate.h"

namespace res {

inline constexpr int IDD_PARTICIPATION = 181;
inline constexpr int IDD_FEEDBACK = 182;
inline constexpr int IDD_CLOSED_DATASET = 187;

namespace participation {
enum : int { IDC_DATASET = 1102, IDC_IRB = 1107, IDC_REOPEN = 1109 };
} // namespace participation

framework::DialogTemplate ParticipationTemplate();
framework::DialogTemplate FeedbackTemplate();
framework::DialogTemplate ClosedDatasetTemplate();

// Registers the three with the framework.
void RegisterParticipationReportTemplates();

} // namespace res
