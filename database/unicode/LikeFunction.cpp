#include "database/unicode/LikeFunction.h"

#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "database/unicode/LikeMatcher.h"
#include "database/unicode/Utf8Decoder.h"

namespace DataBase::Unicode {

namespace {

// The argument as UTF-8, or nothing for NULL.
std::optional<std::string_view> Utf8Argument(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (!text) return std::nullopt;
    return std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

void ForgetPattern(void* pattern) {
    const std::unique_ptr<LikePattern> owned(static_cast<LikePattern*>(pattern));
}

// Marks a pattern read on an earlier row of a statement. The engine keeps it for the next
// row only where the pattern stays the same, and only such a pattern is worth keeping read.
const char kSeen = 0;

void Like(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto* settings = static_cast<const LikeSettings*>(sqlite3_user_data(context));
    if (!settings) settings = &kLikeSettings;
    const void* held = sqlite3_get_auxdata(context, 0);
    const bool seen = held != nullptr;
    const auto* kept = seen && held != &kSeen ? static_cast<const LikePattern*>(held) : nullptr;
    std::optional<std::string_view> pattern;
    if (!kept) {
        pattern = Utf8Argument(argv[0]);
        if (pattern && pattern->size() > static_cast<std::size_t>(kLikePatternLimit)) {
            sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
            return;
        }
    }
    std::optional<std::uint32_t> escape;
    if (argc == 3) {
        const std::optional<std::string_view> text = Utf8Argument(argv[2]);
        if (!text) return;
        const auto* p = reinterpret_cast<const unsigned char*>(text->data());
        const auto* end = p + text->size();
        if (p != end) escape = DecodeUtf8(p, end);
        if (!escape || p != end) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    if (kept && !kept->ReadWith(escape, *settings)) {
        // The escape changed from row to row: read the pattern again.
        kept = nullptr;
        pattern = Utf8Argument(argv[0]);
    }
    const std::optional<std::string_view> text = Utf8Argument(argv[1]);
    if (!text || (!kept && !pattern)) return;
    if (kept) {
        sqlite3_result_int(context, kept->Matches(*text) ? 1 : 0);
        return;
    }
    if (!seen) {
        // A pattern that may change from row to row is matched as it is read.
        sqlite3_result_int(context, LikeMatch(*pattern, *text, escape, *settings) ? 1 : 0);
        sqlite3_set_auxdata(context, 0, const_cast<char*>(&kSeen), nullptr);
        return;
    }
    // One seen on the row before is read once and kept with the statement.
    auto read = std::make_unique<LikePattern>(*pattern, escape, *settings);
    sqlite3_result_int(context, read->Matches(*text) ? 1 : 0);
    sqlite3_set_auxdata(context, 0, read.release(), ForgetPattern);
}

}  // namespace

void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) noexcept {
    try {
        if (argc == 2 || argc == 3) Like(context, argc, argv);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    } catch (...) {
        sqlite3_result_error(context, "LIKE failed", -1);
    }
}

}  // namespace DataBase::Unicode
