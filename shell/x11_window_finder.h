// Finds a top-level window on the X11 display by the start of its title and activates it.
#pragma once

#include <QString>

namespace ravelin {

enum class WindowSearch {
    Activated,    // a window matched and was asked to come to the front
    NotFound,     // the window manager lists its windows, none matched
    NoWindowList, // no X display, or no window manager that keeps a client list
};

// Walks the window manager's client list in order; the first window without an owner whose
// title (at most 63 characters of it) has at least minLength characters and begins with
// titleStart is shown and given the focus.
WindowSearch activateX11Window(const QString &titleStart, int minLength);

} // namespace ravelin
