#include "check/SystemLibrary.h"

#include <stdexcept>

#include "text/Utf8.h"
#include "text/WideText.h"

namespace {

// The library `name` from the system folder. Where Windows refuses the flag that says so (a
// Windows 7 without its library-search update), by its full path, with the libraries it
// imports looked for in that same folder first.
HMODULE LoadFromSystemFolder(const std::wstring& name) {
    HMODULE module = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void NarrowLibrarySearch() {
    SetDllDirectoryW(L"");
    using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

SystemLibrary::SystemLibrary(const wchar_t* name)
    : name_(name), module_(LoadFromSystemFolder(name_)) {
    if (module_) return;
    const DWORD error = GetLastError();
    throw std::runtime_error("системная библиотека " + toUtf8(fromWide(name_)) +
                             " не загружена из системной папки (ошибка Windows " +
                             std::to_string(error) + ")");
}

FARPROC SystemLibrary::address(const char* name) const {
    const FARPROC address = GetProcAddress(module_.get(), name);
    if (!address)
        throw std::runtime_error("в системной библиотеке " + toUtf8(fromWide(name_)) +
                                 " нет функции " + name);
    return address;
}
