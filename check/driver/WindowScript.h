#pragma once

// Plays a user's part against the plug-in's windows from inside whatever message loop runs at
// the time (the host's own, a modal dialog's, a message box's): a thread timer looks on each
// tick for the window the next step waits for and, once it is there, acts on it. Steps read
// and set controls with sent messages that return at once, and press buttons that open modal
// windows or do long work with posted clicks, so that no step blocks the timer. Windows only.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "check/driver/MessageBoxes.h"

struct ScriptStep {
    // What the step waits for, for the failure text.
    std::string what;
    // The window the step waits for; nullptr while it is absent.
    std::function<HWND()> find;
    // Runs once, when `find` first gives a window.
    std::function<void(HWND)> act;
};

struct ScriptOutcome {
    // Every step ran, and no message box came that no step waited for.
    bool completed = false;
    // Why not: a message box no step waited for, a window that never came, a run that went on
    // after its last step, or a blocking call that returned with steps left.
    std::string failure;
    // The message boxes no step waited for, in the order they showed, each closed with OK.
    std::vector<MessageBoxText> unexpectedBoxes;
};

// Runs `blocking` while the steps play in order and returns once it has returned. A message
// box that no step waits for ends the script, and so does a window that does not come (or a
// run that goes on after the last step) within about half a minute of idle ticks: every
// dialog and message box is then closed as Cancel would and `giveUp` is called (for example to
// end the host's own loop), so that `blocking` can return. Only the innermost of nested
// scripts plays.
ScriptOutcome PlayScript(const std::function<void()>& blocking, std::vector<ScriptStep> steps,
                         const std::function<void()>& giveUp = {});

// Presses button `id` of `dialog` with a sent click while `steps` play in the windows it opens.
ScriptOutcome Press(HWND dialog, int id, std::vector<ScriptStep> steps);

// A step that acts on the enabled dialog owned by `owner` once it shows.
ScriptStep OnOwnedDialog(std::string what, HWND owner, std::function<void(HWND)> act);
// A step that reads the next message box into `seen` and closes it with a posted OK.
ScriptStep DismissMessageBox(std::vector<MessageBoxText>& seen);
