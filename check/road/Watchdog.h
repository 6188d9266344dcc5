#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Ends the process with a line naming the current step when the road makes no
// progress for `limit`: a dialog that never closes or a wait that never returns must not
// hold up `make test` forever. The limit is generous, as everything runs under emulation.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, const std::atomic<const char*>& currentStep,
             const char* tag);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // Restarts the limit; called as each step begins.
    void progress();

private:
    void watch();

    std::chrono::seconds limit_;
    const char* tag_;
    const std::atomic<const char*>& currentStep_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool finished_ = false;
    unsigned generation_ = 0;
    std::thread thread_;
};
