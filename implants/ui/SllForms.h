#pragma once
// Makes the speech, language and literacy pages known to the program: the S/L/L
// workspace page and the templates of the tab and the Speech Test dialog. Called once at
// start-up, before the main frame builds its workspace.

namespace quorin {

void RegisterSllForms();

} // namespace quorin
