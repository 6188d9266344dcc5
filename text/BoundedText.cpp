#include "text/BoundedText.h"

#include "text/Utf16.h"

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

    // Keep a pair whole or leave it out entirely.
    const std::size_t count = cutPoint(text, capacity_ - 1 - length_);
    cut_ = count < text.size();
    for (std::size_t i = 0; i < count; ++i) buffer_[length_ + i] = text[i];
    length_ += count;
    buffer_[length_] = 0;
    return *this;
}
