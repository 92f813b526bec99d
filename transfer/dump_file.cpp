#include "dump_file.h"

#include "live_dump.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace ravelin {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr auto kFlushEvery = std::chrono::milliseconds(200);
constexpr qint64 kSyncEveryMs = 800;
} // namespace

DumpFile::~DumpFile() {
    keepPartial();
}

// A partial dump left by an earlier attempt under the same name is moved aside, never overwritten.
// False when it is there and cannot be moved: then it must not be truncated either.
static bool keepEarlierPartial(const QString &partial) {
    const QFileInfo earlier(partial);
    if (!earlier.isFile() || earlier.isSymLink() || earlier.size() == 0) return true;
    for (int n = 1;; ++n) {
        const QString aside = QString("%1.%2").arg(partial).arg(n);
        if (!QFileInfo::exists(aside)) return QFile::rename(partial, aside);
    }
}

bool DumpFile::open(const QString &target) {
    stopFlushing();
    if (!keepEarlierPartial(partialName(target))) {
        error_ = QString("cannot move the earlier partial dump %1 aside").arg(partialName(target));
        return false;
    }
    target_ = target;
    written_ = 0;
    unsynced_ = failed_ = false;
    buffer_.clear();
    buffer_.reserve(kBufferSize);
    sinceSync_.start();
    file_.setFileName(partialName(target));
    // Our own buffer, so a failing write shows at the call that made it fail.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = QString("cannot create %1: %2").arg(file_.fileName(), file_.errorString());
        return false;
    }
    stopping_ = false;
    flusher_ = std::thread([this] { flushInTheBackground(); });
    return true;
}

qint64 DumpFile::written() const {
    std::lock_guard guard(lock_);
    return written_;
}

QString DumpFile::errorString() const {
    std::lock_guard guard(lock_);
    return error_;
}

bool DumpFile::write(const char *bytes, qint64 count) {
    if (!file_.isOpen()) return false;
    {
        std::lock_guard guard(lock_);
        if (failed_) return false;
        if (buffer_.size() + std::size_t(count) > kBufferSize && !flushLocked()) return false;
        buffer_.insert(buffer_.end(), bytes, bytes + count);
        written_ += count;
    }
    if (live_) live_->take(bytes, std::size_t(count));
    return true;
}

bool DumpFile::flush() {
    std::lock_guard guard(lock_);
    return !failed_ && flushLocked();
}

bool DumpFile::flushLocked() {
    if (buffer_.empty()) return true;
    const qint64 done = file_.write(buffer_.data(), qint64(buffer_.size()));
    if (done != qint64(buffer_.size())) {
        error_ = QString("cannot write %1: %2").arg(file_.fileName(), file_.errorString());
        written_ -= qint64(buffer_.size()) - qMax<qint64>(done, 0);
        buffer_.clear();
        failed_ = true;
        return false;
    }
    buffer_.clear();
    unsynced_ = true;
    return true;
}

void DumpFile::flushInTheBackground() {
    std::unique_lock guard(lock_);
    while (!stopping_) {
        wake_.wait_for(guard, kFlushEvery);
        if (failed_ || !flushLocked() || !unsynced_ || sinceSync_.elapsed() < kSyncEveryMs)
            continue;
        unsynced_ = false;
        sinceSync_.restart();
        // The sync may take a while: the dump goes on writing meanwhile. (EINVAL: a file that
        // cannot be synced, such as a device, has nothing to lose.)
        guard.unlock();
        const bool synced = ::fdatasync(file_.handle()) == 0 || errno == EINVAL;
        const int error = errno;
        guard.lock();
        if (!synced) {
            error_ = QString("cannot write %1: %2").arg(file_.fileName(), strerror(error));
            failed_ = true;
        }
    }
}

void DumpFile::stopFlushing() {
    if (!flusher_.joinable()) return;
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    flusher_.join();
}

bool DumpFile::commit() {
    stopFlushing();
    if (!file_.isOpen()) return false;
    // On disk before it takes the dump's name, so a power cut cannot leave a short ".raw".
    // (EINVAL: a file that cannot be synced, such as a device, has nothing to lose.)
    bool flushed = flush();
    if (flushed && ::fsync(file_.handle()) != 0 && errno != EINVAL) {
        error_ = QString("cannot write %1: %2").arg(file_.fileName(), strerror(errno));
        flushed = false;
    }
    file_.close();
    if (!flushed) return false;
    // rename() replaces an existing file of the target name in one step.
    if (std::rename(QFile::encodeName(file_.fileName()).constData(),
                    QFile::encodeName(target_).constData()) != 0) {
        error_ = QString("cannot rename %1 to %2: %3")
                     .arg(file_.fileName(), target_, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    return true;
}

void DumpFile::discard() {
    stopFlushing();
    if (file_.isOpen()) file_.close();
    buffer_.clear();
    if (!file_.fileName().isEmpty()) file_.remove();
}

bool DumpFile::keepPartial() {
    stopFlushing();
    if (!file_.isOpen()) return false;
    flushLocked();
    file_.close();
    if (written_ == 0) {
        file_.remove();
        return false;
    }
    return true;
}

} // namespace ravelin
