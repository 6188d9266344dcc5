#include "host/check/CheckOutput.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

bool IsConsole(HANDLE output) {
    DWORD mode = 0;
    return GetFileType(output) == FILE_TYPE_CHAR && GetConsoleMode(output, &mode);
}

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

std::wstring WideFromUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

}  // namespace

void CheckOutput::line(const std::string& utf8) {
    lines_.push_back(utf8);
    ShowLine(utf8);
}

void ShowLine(const std::string& utf8) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsConsole(output)) {
        const std::wstring wide = WideFromUtf8(utf8) + L"\r\n";
        DWORD written = 0;
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

bool CheckOutput::writeFile(const std::wstring& path, bool replace) const {
    std::string text = "\xEF\xBB\xBF";
    for (const std::string& line : lines_) text += line + "\r\n";
    HANDLE raw = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                             replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    const std::unique_ptr<void, HandleCloser> file(raw);
    DWORD written = 0;
    return WriteFile(raw, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}
