#include "helper_thread.h"

#include <algorithm>
#include <atomic>
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

// Waits until ready() holds: spinning first (a time step hands the helper
// several jobs in quick succession), then asleep on the condition variable.
template <typename Ready>
void await(std::mutex& mutex, std::condition_variable& changed, Ready ready) {
    if (SpinUntil(ready)) return;
    std::unique_lock lock(mutex);
    changed.wait(lock, ready);
}

class HelperThread {
  public:
    HelperThread() : thread_([this] { serve(); }) {}
    ~HelperThread() {
        set(stop_, true);
        thread_.join();
    }
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    void start(const std::function<void()>& job) { set(job_, &job); }
    void wait() {
        await(mutex_, changed_, [this] { return job_.load(std::memory_order_acquire) == nullptr; });
    }

  private:
    // Set under the lock, so that a side about to sleep cannot miss it.
    template <typename T> void set(std::atomic<T>& flag, T value) {
        {
            std::lock_guard lock(mutex_);
            flag.store(value, std::memory_order_release);
        }
        changed_.notify_all();
    }

    void serve() {
        for (;;) {
            await(mutex_, changed_, [this] {
                return stop_.load(std::memory_order_acquire) ||
                       job_.load(std::memory_order_acquire) != nullptr;
            });
            if (stop_.load(std::memory_order_acquire)) return;
            (*job_.load(std::memory_order_acquire))();
            set(job_, static_cast<const std::function<void()>*>(nullptr));
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<const std::function<void()>*> job_{nullptr};
    std::atomic<bool> stop_{false};
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
