#include "ui/OpenProtocolWindows.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// How long a window of another thread is given to close: its thread may be busy, or stopped.
constexpr UINT kOtherThreadTimeoutMs = 5000;

std::mutex guard;
std::vector<HWND> open;

}  // namespace

bool TrackProtocolWindow(HWND window) noexcept {
    try {
        const std::lock_guard<std::mutex> lock(guard);
        open.push_back(window);
        return true;
    } catch (...) {
        return false;
    }
}

void ForgetProtocolWindow(HWND window) noexcept {
    try {
        const std::lock_guard<std::mutex> lock(guard);
        std::erase(open, window);
    } catch (...) {
        // Only the lock can fail; the window stays noted, and closing it later finds it gone.
    }
}

void CloseProtocolWindows(bool mayWait) noexcept {
    std::vector<HWND> closing;
    try {
        const std::lock_guard<std::mutex> lock(guard);
        closing.swap(open);
    } catch (...) {
        return;
    }
    for (HWND window : closing) {
        if (!IsWindow(window)) continue;
        if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
            DestroyWindow(window);
        } else if (mayWait) {
            // The window's own Cancel destroys it on its thread.
            SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0, SMTO_NORMAL,
                                kOtherThreadTimeoutMs, nullptr);
        }
    }
}
