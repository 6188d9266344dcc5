#pragma once

#include <filesystem>
#include <string>

// A path as UTF-8 bytes in a plain string, for error messages.
inline std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
