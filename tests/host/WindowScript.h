#pragma once

// Plays a user's part against the plug-in's windows from inside whatever message loop runs
// at the time (the host's own, a modal dialog's, a message box's): a thread timer looks on
// each tick for the window the next step waits for and, once it is there, acts on it. Steps
// read and set controls with sent messages that return at once, and press buttons that open
// modal windows or do long work with posted messages, so that no step blocks the timer.
// Windows only.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ScriptStep {
    // What the step waits for, for the failure text.
    std::string what;
    // The window the step waits for; nullptr while it is absent.
    std::function<HWND()> find;
    // Runs once, when `find` first gives a window.
    std::function<void(HWND)> act;
};

struct ScriptOutcome {
    // Every step ran.
    bool completed = false;
    // Why not: the step whose window never came, an unexpected message box, or a blocking
    // call that returned with steps left.
    std::string failure;
};

// Runs `blocking` while the steps play in order and returns once it has returned. A message
// box that no step waits for, or a window that does not come within about half a minute,
// ends the script: it then closes every dialog and message box as Cancel would and calls
// `giveUp` (for example to end the host's own loop), so that `blocking` can return.
ScriptOutcome PlayScript(const std::function<void()>& blocking, std::vector<ScriptStep> steps,
                         const std::function<void()>& giveUp = {});

// Presses button `id` of `dialog` with a posted click, so a modal loop it opens starts only
// after the current step has returned.
void PostClick(HWND dialog, int id);
