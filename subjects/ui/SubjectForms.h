#pragma once
// Makes the subject registry's forms and dialogs known to the program: the Subject and
// Other workspace pages, the Recruitment dialog, and the templates they are built from.
// Called once at start-up, before the main frame builds its workspace.

namespace quorin {

void RegisterSubjectForms();

} // namespace quorin
