#pragma once
// Makes the audiogram subsystem's pages known to the program: the chart on workspace
// node 3. Called once at start-up, before the main frame builds its workspace.

namespace quorin {

void RegisterAudiogramViews();

} // namespace quorin
