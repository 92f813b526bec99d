// Jobs run one after another on a thread of their own, in the order they were handed over, while
// the caller goes on: an export formats its next file while the last one is created, written and
// closed.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace exports {

class BackgroundJobs {
  public:
    BackgroundJobs() = default;
    BackgroundJobs(const BackgroundJobs &) = delete;
    BackgroundJobs &operator=(const BackgroundJobs &) = delete;
    ~BackgroundJobs(); // finishes what was handed over

    // Runs the job on the thread, started with the first job; here and now when no thread can be
    // started.
    void run(std::function<void()> job);
    // Returns once every job handed over is done.
    void wait();

  private:
    void work();

    std::mutex mutex_;
    std::condition_variable queued_, idle_;
    std::deque<std::function<void()>> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    bool started_ = false;
    std::thread thread_;
};

} // namespace exports
