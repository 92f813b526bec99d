// Start-up: one copy per user, then the window.
#pragma once

class QApplication;

namespace ravelin {

class SingleInstance;

// Brings the running copy's window to the front: by its title on X11, else by asking the copy
// over the local socket; when neither finds it, says so in a message box.
void showRunningCopy(const SingleInstance &instance);

// Sets the program's name and version where Qt keeps them.
void setProgramIdentity();

// Ends at once when another copy runs (bringing its window to the front); otherwise shows
// the main window and runs the window's events. Returns the exit code.
int Main(QApplication &app);

} // namespace ravelin
