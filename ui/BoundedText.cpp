#include "ui/BoundedText.h"

namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

BoundedWriter::BoundedWriter(char16_t* buffer, std::size_t capacity)
    : buffer_(buffer), capacity_(capacity) {
    if (capacity_ > 0) buffer_[0] = 0;
}

BoundedWriter& BoundedWriter::append(std::u16string_view text) {
    if (capacity_ == 0 || cut_) {
        cut_ = cut_ || !text.empty();
        return *this;
    }
    const std::size_t end = text.find(u'\0');
    if (end != std::u16string_view::npos) text = text.substr(0, end);

    const std::size_t room = capacity_ - 1 - length_;
    std::size_t count = text.size();
    if (count > room) {
        cut_ = true;
        count = room;
        // Keep a pair whole or leave it out entirely.
        if (count > 0 && isHighSurrogate(text[count - 1]) && isLowSurrogate(text[count])) --count;
    }
    for (std::size_t i = 0; i < count; ++i) buffer_[length_ + i] = text[i];
    length_ += count;
    buffer_[length_] = 0;
    return *this;
}
