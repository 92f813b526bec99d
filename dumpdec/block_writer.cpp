#include "block_writer.h"

#include <system_error>

namespace dumpdec {

BlockWriter::~BlockWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void BlockWriter::write_now(const Job &job) {
    if (fwrite_unlocked(job.bytes, 1, job.size, job.file) != job.size) *job.failed = true;
}

std::uint64_t BlockWriter::write(std::FILE *file, const char *bytes, std::size_t size,
                                 std::atomic<bool> &failed) {
    const Job job{file, bytes, size, &failed};
    std::unique_lock lock(mutex_);
    if (!started_) {
        started_ = true;
        try {
            thread_ = std::thread(&BlockWriter::run, this);
        } catch (const std::system_error &) {
            // No thread: every block is written in the caller's time.
        }
    }
    const std::uint64_t ticket = ++handed_over_;
    if (!thread_.joinable()) {
        lock.unlock();
        write_now(job);
        lock.lock();
        written_ = ticket;
        return ticket;
    }
    jobs_.push_back(job);
    lock.unlock();
    queued_.notify_one();
    return ticket;
}

void BlockWriter::wait(std::uint64_t ticket) {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return written_ >= ticket; });
}

void BlockWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return; // stopping, with everything written
        const Job job = jobs_.front();
        jobs_.pop_front();
        lock.unlock();
        write_now(job);
        lock.lock();
        ++written_;
        done_.notify_all();
    }
}

} // namespace dumpdec
