#include "helper_thread.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <sched.h>
#endif

namespace kestrel {

namespace {

class HelperThread {
  public:
    HelperThread() : thread_([this] { serve(); }) {}
    ~HelperThread() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    void start(const std::function<void()>& job) {
        std::lock_guard lock(mutex_);
        job_ = &job;
        changed_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return job_ == nullptr; });
    }

  private:
    void serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stop_ || job_ != nullptr; });
            if (stop_) return;
            const std::function<void()>* job = job_;
            lock.unlock();
            (*job)();
            lock.lock();
            job_ = nullptr;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    const std::function<void()>* job_ = nullptr;
    bool stop_ = false;
    std::thread thread_; // last: started once the rest is ready
};

HelperThread* helper() {
    static const std::unique_ptr<HelperThread> thread = []() -> std::unique_ptr<HelperThread> {
        try {
            return std::make_unique<HelperThread>();
        } catch (const std::system_error&) {
            return nullptr; // the program goes on with one thread
        }
    }();
    return thread.get();
}

std::mutex inUse;

} // namespace

bool RunBesideHelper(const std::function<void()>& beside, const std::function<void()>& own) {
    std::unique_lock use(inUse, std::try_to_lock);
    HelperThread* thread = use ? helper() : nullptr;
    if (!thread) return false;
    thread->start(beside);
    own();
    thread->wait();
    return true;
}

int AvailableCores() {
#if defined(__linux__)
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
#endif
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

} // namespace kestrel
