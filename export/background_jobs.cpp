#include "background_jobs.h"

#include <system_error>

namespace exports {

BackgroundJobs::~BackgroundJobs() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void BackgroundJobs::run(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    if (!started_) {
        started_ = true;
        try {
            thread_ = std::thread(&BackgroundJobs::work, this);
        } catch (const std::system_error &) {
            // No thread: every job runs in the caller's time.
        }
    }
    if (!thread_.joinable()) {
        lock.unlock();
        job();
        return;
    }
    jobs_.push_back(std::move(job));
    lock.unlock();
    queued_.notify_one();
}

void BackgroundJobs::wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return jobs_.empty() && !busy_; });
}

void BackgroundJobs::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return; // stopping, with every job done
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        job();
        lock.lock();
        busy_ = false;
        if (jobs_.empty()) idle_.notify_all();
    }
}

} // namespace exports
