#pragma once

#include <string>
#include <string_view>

// Conversions between the UTF-16 text the module works in and UTF-8 for files, terminals and
// the databases the tests write. Unpaired surrogates and malformed sequences become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);
