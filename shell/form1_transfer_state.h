// The dump and upload state kept by the window between events and shared with the serial
// event and timer handlers. Zero or empty when the window is created.
#pragma once

#include "transfer_state.h"
