// The window's side of the transfers: the engine that runs them with the window's port, timers
// and transfer state, reporting to the status bar, the progress indicators, message boxes, the
// beep and the two transfer buttons. Made at the first use, owned by the window.
#pragma once

#include "transfer_engine.h"

namespace ravelin {

class Form1;

TransferEngine &TransfersOf(Form1 &form);

} // namespace ravelin
