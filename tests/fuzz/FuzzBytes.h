#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Takes a fuzz input apart from the front; once it is used up every read gives zeros, so any
// input, the empty one included, describes one whole case.
class FuzzBytes {
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return used_ < size_ ? data_[used_++] : 0; }

    // `count` bytes (at most 8), least significant first.
    std::uint64_t number(int count) {
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) value |= std::uint64_t{byte()} << (8 * i);
        return value;
    }

    // A length (two bytes, at most `limit`), then that many bytes as they are; fewer when the
    // input ends first.
    std::string bytes(std::size_t limit) {
        const std::size_t wanted = static_cast<std::size_t>(number(2)) % (limit + 1);
        const std::size_t length = wanted < size_ - used_ ? wanted : size_ - used_;
        std::string result(reinterpret_cast<const char*>(data_ + used_), length);
        used_ += length;
        return result;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};
