// The survey of a dump as it arrives. The dump hands each accepted block's data bytes over and
// returns: a thread of the live view's own reads them as a raw database (survey::
// IncrementalReader), so the transfer never waits for decoding or drawing. The window and the
// command-line tool look at snapshots. A record the reader cannot read stops the live view with
// the reason; the dump goes on.
#pragma once

#include "byte_inbox.h"
#include "incremental_reader.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ravelin {

// "survey 2 \"RIDGE\", line 3: profile at 150.000 N", for the tool's lines and the Dump page.
std::string liveLineTitle(int surveyNumber, const survey::Survey &s, int lineNumber,
                          const survey::Line &line);

// The count line: "live: IP 1234, KX-4 0, bore hole 0".
std::string liveCountLine(const survey::ReadingCounts &counts);

class LiveDump {
  public:
    // What the live view shows at one moment.
    struct Snapshot {
        survey::ReadingCounts counts;
        std::uint64_t bytes_read = 0; // of the raw database, as whole records
        int survey_number = 0;        // 1-based; 0 before the first record
        std::string survey_name;      // the survey header's name, empty before one
        int line_number = 0;          // 1-based within its survey; 0 before the first line
        std::shared_ptr<const survey::Line> line; // the line being received
        std::string stop_reason;                  // empty while the view follows the dump
        bool finished = false;                    // every byte handed over has been read
    };

    // Called on the live view's thread for each new line as its header arrives, with the
    // survey's and the line's 1-based numbers.
    using LineHandler = std::function<void(int surveyNumber, const survey::Survey &, int lineNumber,
                                           const survey::Line &)>;

    explicit LiveDump(LineHandler onLine = {});
    ~LiveDump();
    LiveDump(const LiveDump &) = delete;
    LiveDump &operator=(const LiveDump &) = delete;

    // The data bytes of the next accepted block: copied, nothing else (the reading thread looks
    // for them on its own).
    void take(const char *bytes, std::size_t count);
    // Before a dump: makes room in the inbox for the largest memory there is, so that take()
    // never waits for memory however far the reading lags (about 60 ms; finish() frees it).
    void prepare();
    // The dump ended (finished or stopped): what was handed over is read to its end on the
    // live view's thread, and the view stops following; snapshots say when (finished). Returns
    // at once, so that a window never waits for a reading that lags.
    void end();
    // As end(), and returns once that is done.
    void finish();
    // Starts again for the next dump, with an empty survey, prepared.
    void restart();

    // The model as last published by the reading thread (after each chunk it reads): never
    // waits for that thread. Without the line being received unless withLine.
    Snapshot snapshot(bool withLine = true) const;

  private:
    void run();
    void readInbox(bool finishing);
    void publish();
    void announceNewLines();

    LineHandler onLine_;
    ByteInbox inbox_;
    // Between the dump and the reading thread.
    std::mutex controlLock_;
    std::condition_variable wake_;
    std::condition_variable drained_;
    bool finishing_ = false;
    bool stopping_ = false;
    // The reading thread's; restart() takes it back under modelLock_.
    std::mutex modelLock_;
    survey::IncrementalReader reader_;
    bool finished_ = false;
    // What snapshots copy, swapped in whole under a lock held for nothing else.
    mutable std::mutex publishedLock_;
    std::shared_ptr<const Snapshot> published_ = std::make_shared<const Snapshot>();
    std::size_t announcedSurveys_ = 0, announcedLines_ = 0;
    std::thread thread_;
};

} // namespace ravelin
