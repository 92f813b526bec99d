#include "dump_file.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace ravelin {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr qint64 kLongestHoldMs = 1000; // in our buffer, then in the system's
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
    if (!keepEarlierPartial(partialName(target))) {
        error_ = QString("cannot move the earlier partial dump %1 aside").arg(partialName(target));
        return false;
    }
    target_ = target;
    written_ = 0;
    buffer_.clear();
    buffer_.reserve(kBufferSize);
    sinceFlush_.start();
    sinceSync_.start();
    file_.setFileName(partialName(target));
    // Our own buffer, so a failing write shows at the call that made it fail.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = QString("cannot create %1: %2").arg(file_.fileName(), file_.errorString());
        return false;
    }
    return true;
}

bool DumpFile::write(const char *bytes, qint64 count) {
    if (!file_.isOpen()) return false;
    if (buffer_.size() + std::size_t(count) > kBufferSize && !flush()) return false;
    buffer_.insert(buffer_.end(), bytes, bytes + count);
    written_ += count;
    return sinceFlush_.elapsed() < kLongestHoldMs || flush();
}

bool DumpFile::flush() {
    sinceFlush_.restart();
    if (buffer_.empty()) return true;
    const qint64 done = file_.write(buffer_.data(), qint64(buffer_.size()));
    if (done != qint64(buffer_.size())) {
        error_ = QString("cannot write %1: %2").arg(file_.fileName(), file_.errorString());
        written_ -= qint64(buffer_.size()) - qMax<qint64>(done, 0);
        buffer_.clear();
        return false;
    }
    buffer_.clear();
    // On the disk too, now and then: what a power cut may take is bounded by time. (EINVAL: a
    // file that cannot be synced, such as a device, has nothing to lose.)
    if (sinceSync_.elapsed() >= kLongestHoldMs) {
        sinceSync_.restart();
        if (::fdatasync(file_.handle()) != 0 && errno != EINVAL) {
            error_ = QString("cannot write %1: %2").arg(file_.fileName(), strerror(errno));
            return false;
        }
    }
    return true;
}

bool DumpFile::commit() {
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
    if (file_.isOpen()) file_.close();
    buffer_.clear();
    if (!file_.fileName().isEmpty()) file_.remove();
}

bool DumpFile::keepPartial() {
    if (!file_.isOpen()) return false;
    flush();
    file_.close();
    if (written_ == 0) {
        file_.remove();
        return false;
    }
    return true;
}

} // namespace ravelin
