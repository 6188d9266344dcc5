#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The host's main window: owner of the plug-in's windows, and the road's way into modal
// loops. Its guard timer keeps ticking inside any message loop of the thread, the plug-in's
// modal dialogs included. At each tick it closes any message box that appears (each one is a
// finding, recorded with its text), so an unexpected warning cannot stall the road, and runs
// the work waiting for a dialog once that dialog is shown: a modal dialog becomes visible only
// when its own loop first finds the queue empty, after the work of its WM_INITDIALOG.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window_; }
    // Runs `action` with the dialog from the first tick at which a visible dialog owned by
    // `owner` and captioned `title` exists; one waiting action at a time.
    void whenShown(HWND owner, std::u16string title, std::function<void(HWND)> action);
    // Drops the waiting action; true if it was still waiting (its dialog never showed).
    bool cancelWaiting();
    // The texts of the message boxes the guard has closed since the last call.
    std::vector<std::u16string> takeClosedMessageBoxes();
    // Exceptions that escaped the work on a dialog (each one a finding of the road itself).
    const std::vector<std::string>& faults() const { return faults_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void closeMessageBoxes();
    void runWaiting();

    struct Waiting {
        HWND owner = nullptr;
        std::u16string title;
        std::function<void(HWND)> action;
    };

    HWND window_ = nullptr;
    std::optional<Waiting> waiting_;
    std::vector<std::u16string> closedBoxes_;
    std::vector<std::string> faults_;
};

// The thread's visible dialog (or message box) owned by `owner` (any owner for nullptr) with
// exactly the caption `title`; nullptr if there is none.
HWND FindShownDialog(HWND owner, const std::u16string& title);
