#include "check/CheckOutput.h"

#include <windows.h>

#include <cstdio>

#include "check/FileHandle.h"
#include "text/Utf8.h"
#include "text/WideText.h"

namespace {

bool IsConsole(HANDLE output) {
    DWORD mode = 0;
    return GetFileType(output) == FILE_TYPE_CHAR && GetConsoleMode(output, &mode);
}

}  // namespace

void CheckOutput::line(const std::string& utf8) {
    lines_.push_back(utf8);
    ShowLine(utf8);
}

void ShowLine(const std::string& utf8) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsConsole(output)) {
        const std::wstring wide = toWide(fromUtf8(utf8)) + L"\r\n";
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
    const FileHandle file =
        OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                            replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}
