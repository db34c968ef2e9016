#pragma once
// A second thread for the solver, kept for the life of the program so that a
// time step does not pay for starting one.
#include <chrono>
#include <functional>
#include <thread>

namespace kestrel {

// Runs `beside` on the helper thread while `own` runs on this one, and
// returns once both have ended. Returns false, having run neither, when the
// helper cannot be had (no thread could be started, or another step is
// using it).
bool RunBesideHelper(const std::function<void()>& beside, const std::function<void()>& own);

// A moment's pause in a loop waiting for another thread.
inline void SpinPause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

// Spins until ready() holds, for up to 200 µs: the other thread is usually
// microseconds away, and waking from a sleep costs tens of them. Returns
// whether it came; if not, the caller goes to sleep.
template <typename Ready> bool SpinUntil(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
    for (int spin = 1; !ready(); ++spin) {
        if (spin % 64 == 0 && std::chrono::steady_clock::now() >= until) return false;
        SpinPause();
    }
    return true;
}

// The cores this process may run on (taskset and container limits count),
// at least 1.
int AvailableCores();

} // namespace kestrel
