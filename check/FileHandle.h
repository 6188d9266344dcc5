#pragma once

#include <windows.h>

#include <memory>

struct FileHandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

// A file handle that closes itself; empty when the file could not be opened, so the closer
// never sees INVALID_HANDLE_VALUE.
using FileHandle = std::unique_ptr<void, FileHandleCloser>;

inline FileHandle OwnFile(HANDLE handle) {
    return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
