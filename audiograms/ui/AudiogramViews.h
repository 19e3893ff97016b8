#pragma once
// Makes the audiogram subsystem's pages known to the program: the chart on workspace
// node 3, the Data tab on node 4 and the Comments tab on node 7, with the templates of
// the two tabs. Called once at start-up, before the main frame builds its workspace.

namespace quorin {

void RegisterAudiogramViews();

} // namespace quorin
