#include "check/road/Watchdog.h"

#include <windows.h>

#include <cstdio>

Watchdog::Watchdog(std::chrono::seconds limit, const std::atomic<const char*>& currentStep,
                   const char* tag)
    : limit_(limit), tag_(tag), currentStep_(currentStep), thread_([this] { watch(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Watchdog::progress() {
    {
        std::lock_guard lock(mutex_);
        ++generation_;
    }
    changed_.notify_all();
}

void Watchdog::watch() {
    std::unique_lock lock(mutex_);
    while (!finished_) {
        const unsigned seen = generation_;
        if (!changed_.wait_for(lock, limit_, [&] { return finished_ || generation_ != seen; })) {
            std::printf("%s: шаг «%s» НЕ ЗАВЕРШИЛСЯ за %lld с\n", tag_, currentStep_.load(),
                        static_cast<long long>(limit_.count()));
            std::fflush(stdout);
            ExitProcess(3);
        }
    }
}
