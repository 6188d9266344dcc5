#pragma once

// The one guard at every window procedure branch that can fail: whatever the action throws
// is caught here and shown as a warning owned by the window, which stays usable.

#include <windows.h>

#include <exception>
#include <string_view>
#include <utility>

// A warning box owned by `owner`: caption "Ошибка", OK button, warning icon.
void ShowWarning(HWND owner, std::u16string_view text) noexcept;

// The warning for a caught failure: the action's sentence and the failure's own message.
void ShowFailure(HWND owner, std::u16string_view sentence, std::exception_ptr failure) noexcept;

// Runs `action`; if it throws, shows the failure with `sentence` and returns false.
template <typename Action>
bool Guarded(HWND owner, std::u16string_view sentence, Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (...) {
        ShowFailure(owner, sentence, std::current_exception());
        return false;
    }
}
