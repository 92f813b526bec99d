// The serial dump's procedure: open the file and the port, wait while receiveDumpData takes the
// instrument's bytes, then finish, report an empty memory or a failure.
#include "dump_name.h"
#include "engine_internals.h"
#include "transfer_engine.h"

#include <algorithm>

namespace ravelin {

using namespace engine;

TransferOutcome TransferEngine::serialDump(const QString &rawPath) {
    if (!openDumpFile(rawPath)) return TransferOutcome::Failed;
    sink_.setDumpButtonEnabled(false);
    sink_.setStatus("Syncronizing....");
    quietTimer_.setInterval(std::min(kQuietMs, silenceTimer_.interval() / 4));
    receiver_.begin();
    try {
        port_.setPortOpen(true);
    } catch (const std::exception &e) {
        file_.discard();
        stopTimersAndClosePort();
        return fail("Dump Aborted: " + describe(e));
    }
    readyTimer_.start();

    for (;;) {
        if (receiver_.done()) break;
        if (receiver_.memoryEmpty()) {
            stopTimersAndClosePort();
            sink_.showMessage("Data Memory Empty", "Error");
            sink_.setStatus("Dump Aborted");
            file_.discard();
            return TransferOutcome::MemoryEmpty;
        }
        if (end_.isSet()) {
            stopTimersAndClosePort();
            return fail(end_.reason()); // keeps what arrived under ".partial"
        }
        pump(true);
        if (!silenceTimer_.isActive())
            silenceTimer_.start(); // restarted only after a pass without input
    }

    stopTimersAndClosePort();
    if (!file_.commit()) return fail("Dump Aborted: " + file_.errorString());
    sink_.setStatus("Upload Finished,  File saved: " + convertedDatabaseName(rawPath));
    sink_.beep();
    return TransferOutcome::Completed;
}

} // namespace ravelin
