#pragma once

// The one guard at the plug-in's boundary: exported functions and the callbacks handed to
// the host run their work through it, so no exception ever unwinds into the host's frames.

#include <utility>

// Runs `work` and returns `result` whether or not it threw. There is nowhere to report a
// failure at this boundary (the host reads no result), so a failure ends here; work that
// must leave a defined state behind settles it itself before throwing on.
template <typename Work>
int GuardedEntry(Work&& work, int result = 0) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (...) {
    }
    return result;
}
