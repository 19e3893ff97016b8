#pragma once
// Work off the window's thread under a progress dialog: the windows keep answering
// while it runs, the dialog shows the work's own text and step, and Cancel (or Escape,
// or closing the window the dialog belongs to) asks the work to stop.

#include "document/UserInterface.h"

class QWidget;

namespace framework {

// Returns once the work's Run has returned on its thread.
void RunWithProgress(QWidget* parent, quorin::BackgroundWork& work);

} // namespace framework
