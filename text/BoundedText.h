#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>

// Appends UTF-16 texts into a fixed buffer of `capacity` units, terminator included. A text
// that does not fit is cut at the last whole code point that fits (a surrogate pair is never
// split), and nothing after a cut is appended. Like a "%s" argument, each text ends at its
// first NUL. The buffer is terminated after every append.
class BoundedWriter {
public:
    BoundedWriter(char16_t* buffer, std::size_t capacity);

    BoundedWriter& append(std::u16string_view text);
    std::size_t length() const { return length_; }
    // True once some text had to be cut.
    bool cut() const { return cut_; }

private:
    char16_t* buffer_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool cut_ = false;
};

// A text in a fixed buffer of N units, terminator included; always terminated.
template <std::size_t N>
struct FixedText {
    static_assert(N > 0);
    std::array<char16_t, N> units{};
    std::size_t length = 0;

    const char16_t* c_str() const { return units.data(); }
    std::u16string_view view() const { return {units.data(), length}; }
};

// Joins `parts` into a FixedText<N> by BoundedWriter's rules.
template <std::size_t N>
FixedText<N> joinBounded(std::initializer_list<std::u16string_view> parts) {
    FixedText<N> text;
    BoundedWriter writer(text.units.data(), N);
    for (std::u16string_view part : parts) writer.append(part);
    text.length = writer.length();
    return text;
}
