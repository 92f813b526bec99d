// The file a dump is written into. Bytes go to "<name>.partial" beside the chosen name, which
// only a finished dump is renamed to (replacing an older file of that name). A dump that fails
// after writing data leaves the ".partial" file, clearly incomplete, so nothing received is lost;
// one that fails before writing anything leaves nothing. A ".partial" file from an earlier
// attempt is kept as ".partial.1" (".2", ...). What is written reaches the file within a second
// (at once after flush()), and the disk at most a second later, so a crash or a flat battery
// loses no more than that.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <vector>

namespace ravelin {

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
    qint64 written() const { return written_; }
    QString errorString() const { return error_; }

    bool commit();      // flushes, closes and renames to the target
    void discard();     // closes and deletes the ".partial" file
    bool keepPartial(); // closes; deletes the ".partial" file if it holds nothing
    QString target() const { return target_; }

  private:
    QString target_;
    QFile file_;
    std::vector<char> buffer_;
    qint64 written_ = 0;
    QElapsedTimer sinceFlush_;
    QElapsedTimer sinceSync_;
    QString error_;
};

} // namespace ravelin
