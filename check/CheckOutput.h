#pragma once

#include <string>
#include <vector>

// The check's report: each line is shown at once (in the console as UTF-16, so any code page
// shows the Russian text; into a pipe or file as UTF-8) and kept for the report file.
class CheckOutput {
public:
    void line(const std::string& utf8 = {});
    // Writes the kept lines to `path` for Windows Notepad: UTF-8 with a byte order mark and
    // CRLF line ends. An existing file is replaced only when `replace` is set. False when the
    // file cannot be written.
    bool writeFile(const std::wstring& path, bool replace) const;

private:
    std::vector<std::string> lines_;
};

// Shows one line at once without keeping it for the report file.
void ShowLine(const std::string& utf8);
