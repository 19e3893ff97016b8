#pragma once
// Registers the Participation, Feedback and Closed Dataset windows and their templates
// for their Reports commands.

namespace quorin {

void RegisterParticipationReports();

} // namespace quorin
