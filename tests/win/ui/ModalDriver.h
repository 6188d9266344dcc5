#pragma once

// Operates modal windows from inside their own message loop: while a blocking call (a
// button that opens a modal dialog) runs, a thread timer looks for the window each step
// waits for and acts on it. Steps act with sent messages that return at once and close
// windows with posted commands, so no step blocks the timer.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ModalStep {
    std::string what;
    std::function<HWND()> find;     // the window the step waits for; nullptr while absent
    std::function<void(HWND)> act;  // runs once, when `find` first gives a window
};

// Runs `blocking` while the steps are played in order. Fails the test if the blocking call
// returns with steps left, if a step's window never appears, or if the call goes on long
// after the last step (the loop is then broken up by cancelling every open modal window, so
// the test ends instead of hanging).
void PlayModal(const std::function<void()>& blocking, std::vector<ModalStep> steps);

// A visible, enabled dialog of this thread owned by `owner` (enabled: no message box of its
// own is open over it), or nullptr.
HWND FindOwnedDialog(HWND owner);

// A visible message box of this thread (a dialog with the message text control), or nullptr.
HWND FindMessageBox();

// The text and caption a message box shows.
struct MessageBoxText {
    std::u16string text;
    std::u16string caption;
    HWND owner = nullptr;
    HWND ownersOwner = nullptr;  // read while the box is open: its owner may end with it
};
MessageBoxText ReadMessageBox(HWND box);

// A step that finds the next message box, records it into `seen` and dismisses it.
ModalStep DismissMessageBox(std::vector<MessageBoxText>& seen);
