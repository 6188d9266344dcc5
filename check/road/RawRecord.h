#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Reads records the way the 32-bit host does: fields at fixed byte offsets, pointers four
// bytes wide, strings followed through those pointers. Nothing here uses the plug-in's own
// record types, so a layout fault on either side shows up as a wrong field.

inline std::uint32_t RawU32(const void* record, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

inline std::uint8_t RawByte(const void* record, std::size_t offset) {
    return static_cast<const unsigned char*>(record)[offset];
}

// The 32-bit pointer stored at `offset`.
inline const void* RawPointer(const void* record, std::size_t offset) {
    static_assert(sizeof(void*) == 4, "the road reads 32-bit records");
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(RawU32(record, offset)));
}

// The UTF-16 string at `text`, at most `limit` units (a missing terminator stops there).
inline std::u16string RawWide(const void* text, std::size_t limit = 4096) {
    std::u16string value;
    if (!text) return value;
    const auto* unit = static_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < limit; ++i, unit += 2) {
        const char16_t c = static_cast<char16_t>(unit[0] | unit[1] << 8);
        if (c == 0) break;
        value.push_back(c);
    }
    return value;
}

// The narrow string at `text`, at most `limit` bytes.
inline std::string RawNarrow(const void* text, std::size_t limit = 4096) {
    std::string value;
    if (!text) return value;
    const char* c = static_cast<const char*>(text);
    for (std::size_t i = 0; i < limit && c[i]; ++i) value.push_back(c[i]);
    return value;
}
