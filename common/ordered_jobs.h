// Jobs run one after another on a thread of their own, in the order they were handed over, while
// the caller goes on: the decoder's output blocks are written, and an export's profile files
// made, while the next are formatted. The thread starts with the first job; when none can be
// started, each job runs in the caller's time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

namespace ravelin {

class OrderedJobs {
  public:
    OrderedJobs() = default;
    OrderedJobs(const OrderedJobs &) = delete;
    OrderedJobs &operator=(const OrderedJobs &) = delete;
    // Finishes what was handed over.
    ~OrderedJobs() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        queued_.notify_one();
        if (thread_.joinable()) thread_.join();
    }

    // Hands the job over; its ticket says when it is done (wait()).
    std::uint64_t run(std::function<void()> job) {
        std::unique_lock lock(mutex_);
        if (!started_) {
            started_ = true;
            try {
                thread_ = std::thread(&OrderedJobs::work, this);
            } catch (const std::system_error &) {
                // No thread: every job runs in the caller's time.
            }
        }
        const std::uint64_t ticket = ++handed_over_;
        if (!thread_.joinable()) {
            lock.unlock();
            job();
            lock.lock();
            done_ = ticket;
            return ticket;
        }
        jobs_.push_back(std::move(job));
        lock.unlock();
        queued_.notify_one();
        return ticket;
    }

    // Returns once the job with this ticket, and every one handed over before it, is done.
    // Ticket 0 stands for none.
    void wait(std::uint64_t ticket) {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return done_ >= ticket; });
    }
    // Returns once every job handed over so far is done.
    void wait_all() {
        std::unique_lock lock(mutex_);
        const std::uint64_t last = handed_over_;
        finished_.wait(lock, [&] { return done_ >= last; });
    }

  private:
    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            queued_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return; // stopping, with every job done
            std::function<void()> job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
            ++done_;
            finished_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable queued_;   // a job arrived, or the thread is to stop
    std::condition_variable finished_; // a job is done
    std::deque<std::function<void()>> jobs_;
    std::uint64_t handed_over_ = 0; // tickets given out
    std::uint64_t done_ = 0;        // tickets done
    bool stopping_ = false;
    bool started_ = false;
    std::thread thread_;
};

} // namespace ravelin
