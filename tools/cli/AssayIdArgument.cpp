#include "tools/cli/AssayIdArgument.h"

#include <charconv>
#include <system_error>

std::optional<AssayId> ParseAssayId(std::string_view text) {
    AssayId id = 0;
    const char* end = text.data() + text.size();
    // from_chars takes no leading blanks or '+', and reports overflow instead of wrapping.
    const auto [stop, error] = std::from_chars(text.data(), end, id, 10);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return id;
}
