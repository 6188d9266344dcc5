#pragma once

#include <windows.h>

#include <string>

// The folder of the running program, with its trailing separator: where the road and the
// check find nivra.dll, and where the check files its report.
inline std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder;
}
