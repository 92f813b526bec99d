// The file a dump is written into. Bytes go to "<name>.partial" beside the chosen name, which
// only a finished dump is renamed to (replacing an older file of that name). A dump that fails
// after writing data leaves the ".partial" file, clearly incomplete, so nothing received is lost;
// one that fails before writing anything leaves nothing. A ".partial" file from an earlier
// attempt is kept as ".partial.1" (".2", ...).
//
// What is written reaches the file within a fifth of a second (at once after flush()) and the
// disk within a second, so a crash or a flat battery loses no more than that: a thread of the
// file's own hands the buffer over, since the dump's own thread may wait seconds in a read.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace ravelin {

class LiveDump;

class DumpFile {
  public:
    DumpFile() = default;
    ~DumpFile(); // closes; an unfinished dump stays as the ".partial" file
    DumpFile(const DumpFile &) = delete;
    DumpFile &operator=(const DumpFile &) = delete;

    static QString partialName(const QString &target) { return target + ".partial"; }

    bool open(const QString &target); // creates an empty ".partial" file
    bool isOpen() const { return file_.isOpen(); }
    bool write(const char *bytes, qint64 count);
    bool flush(); // hands what is buffered to the file now
    qint64 written() const;
    QString errorString() const;

    bool commit();      // flushes, closes and renames to the target
    void discard();     // closes and deletes the ".partial" file
    bool keepPartial(); // closes; deletes the ".partial" file if it holds nothing
    QString target() const { return target_; }

    // Every byte written is also handed to live (none when null).
    void setLive(LiveDump *live) { live_ = live; }

  private:
    bool flushLocked();
    void flushInTheBackground();
    void stopFlushing();

    QString target_;
    LiveDump *live_ = nullptr;
    QFile file_;
    // Shared with the flushing thread, under lock_:
    mutable std::mutex lock_;
    std::vector<char> buffer_;
    qint64 written_ = 0;
    bool unsynced_ = false; // written to the file since the last sync
    bool failed_ = false;   // a write failed; error_ says why
    QString error_;
    QElapsedTimer sinceSync_;

    std::thread flusher_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

} // namespace ravelin
