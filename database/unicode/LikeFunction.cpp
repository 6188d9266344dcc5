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

void Like(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto* settings = static_cast<const LikeSettings*>(sqlite3_user_data(context));
    if (!settings) settings = &kLikeSettings;
    // A constant pattern is read on the first row and kept with the statement; the engine
    // drops it when the pattern changes.
    const auto* kept = static_cast<const LikePattern*>(sqlite3_get_auxdata(context, 0));
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
