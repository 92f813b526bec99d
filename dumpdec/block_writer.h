// Writes the output files' full blocks on a thread of its own: the system's copying of a
// conversion's hundred megabytes into the page cache then overlaps the formatting of the next
// blocks instead of following it. One writer serves every file of a conversion, in the order
// the blocks were handed over, so each file's bytes arrive in order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

namespace dumpdec {

class BlockWriter {
  public:
    BlockWriter() = default;
    BlockWriter(const BlockWriter &) = delete;
    BlockWriter &operator=(const BlockWriter &) = delete;
    // Finishes what was handed over.
    ~BlockWriter();

    // Hands over size bytes for file; they stay untouched until wait() for the returned ticket
    // returns. A write that fails sets failed. Without a thread (none could be started) the
    // bytes are written before this returns.
    std::uint64_t write(std::FILE *file, const char *bytes, std::size_t size,
                        std::atomic<bool> &failed);
    // Returns once the write with this ticket, and every one handed over before it, is done.
    // Ticket 0 stands for none.
    void wait(std::uint64_t ticket);

  private:
    struct Job {
        std::FILE *file;
        const char *bytes;
        std::size_t size;
        std::atomic<bool> *failed;
    };
    static void write_now(const Job &job);
    void run();

    std::mutex mutex_;
    std::condition_variable queued_; // a job arrived, or the writer is to stop
    std::condition_variable done_;   // a job was written
    std::deque<Job> jobs_;
    std::uint64_t handed_over_ = 0; // tickets given out
    std::uint64_t written_ = 0;     // tickets done
    bool stopping_ = false;
    bool started_ = false; // the thread is started at the first block, or never if it cannot be
    std::thread thread_;
};

} // namespace dumpdec
