#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The host's main window: owner of the plug-in's windows, and the road's way into modal
// loops. Work posted here runs when the thread's current message loop next dispatches,
// which is inside the plug-in's modal dialog once the plug-in has opened one. A guard
// closes any message box that appears (each one is a finding, recorded with its text), so
// an unexpected warning cannot stall the road.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window_; }
    // Queues `action` to run from the next message loop that dispatches on this thread.
    void post(std::function<void()> action);
    // Dispatches everything already waiting in this thread's queue, posted work included.
    static void drainMessages();
    // The texts of the message boxes the guard has closed since the last call.
    std::vector<std::u16string> takeClosedMessageBoxes();
    // Exceptions that escaped posted work (each one a finding of the road itself).
    const std::vector<std::string>& faults() const { return faults_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void runNext();
    void closeMessageBoxes();

    HWND window_ = nullptr;
    std::deque<std::function<void()>> actions_;
    std::vector<std::u16string> closedBoxes_;
    std::vector<std::string> faults_;
};

// The thread's visible dialog owned by `owner` with exactly the caption `title`; nullptr if
// there is none.
HWND FindOwnedDialog(HWND owner, const std::u16string& title);
