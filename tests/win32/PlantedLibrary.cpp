// A library planted beside the installation check under the name of a system library. Whoever
// loads it finds "<its file name>.loaded" beside it afterwards; it does nothing else.

#include <windows.h>

#include <cwchar>

#include "check/FileHandle.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    constexpr wchar_t kSuffix[] = L".loaded";
    wchar_t path[MAX_PATH + sizeof kSuffix / sizeof *kSuffix] = {};
    const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    std::wmemcpy(path + length, kSuffix, sizeof kSuffix / sizeof *kSuffix);
    const FileHandle marker = OwnFile(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return TRUE;
}
