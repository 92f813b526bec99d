// What ravelin-dump and ravelin-upload share: options, the serial port set up from the settings
// store as the window sets it up, a sink that prints, and the exit code.
#pragma once

namespace ravelin {

enum class TransferTool { Dump, Upload };

// Exit codes: 0 file saved / system sent, 1 the transfer failed, 2 wrong usage or settings,
// 3 the instrument's memory is empty (no file written).
int runTransferTool(int argc, char **argv, TransferTool tool);

} // namespace ravelin
