#pragma once
// Makes the cochlear-implant pages known to the program: the CI Data workspace page and
// the templates of the tab and its CI Speech and CI Device dialogs. Called once at
// start-up, before the main frame builds its workspace.

namespace quorin {

void RegisterCiDataForms();

} // namespace quorin
