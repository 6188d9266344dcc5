#include "database/unicode/NocaseCollation.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "database/unicode/Reduction.h"
#include "database/unicode/Utf8Decoder.h"

namespace DataBase::Unicode {

namespace {

int Order(std::uint32_t left, std::uint32_t right) {
    return left < right ? -1 : 1;
}

int Final(int leftBytes, int rightBytes, bool leftLeft, bool rightLeft) {
    if (leftLeft) return 1;
    if (rightLeft) return -1;
    return leftBytes - rightBytes;
}

// Where the character holding byte `k` of an identical run starts, the run starting at a
// character boundary: continuation bytes belong to the lead byte before them, or are
// characters of their own when no lead byte precedes them.
std::size_t CharacterStart(const unsigned char* run, std::size_t k) {
    std::size_t j = k;
    while (j > 0 && (run[j - 1] & 0xC0) == 0x80) --j;
    return j > 0 && run[j - 1] >= 0xC0 ? j - 1 : k;
}

// How many of the first `common` bytes of `a` and `b` are equal, eight at a time.
std::size_t EqualBytes(const unsigned char* a, const unsigned char* b, std::size_t common) {
    static_assert(std::endian::native == std::endian::little);  // lowest address, lowest byte
    std::size_t same = 0;
    for (; same + 8 <= common; same += 8) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, a + same, 8);
        std::memcpy(&wb, b + same, 8);
        if (wa != wb) return same + static_cast<std::size_t>(std::countr_zero(wa ^ wb)) / 8;
    }
    while (same < common && a[same] == b[same]) ++same;
    return same;
}

int CompareUtf8(int leftBytes, const unsigned char* a, int rightBytes, const unsigned char* b) {
    const unsigned char* const aEnd = a + leftBytes;
    const unsigned char* const bEnd = b + rightBytes;
    for (;;) {
        // Identical bytes are identical characters: skip them without decoding, then back
        // up to the start of the character where the texts part.
        const std::size_t same =
            EqualBytes(a, b, static_cast<std::size_t>(std::min(aEnd - a, bEnd - b)));
        if (same > 0) {
            const std::size_t start = CharacterStart(a, same);
            a += start;
            b += start;
        }
        if (a == aEnd || b == bEnd) break;
        std::uint32_t ca, cb;
        if ((*a | *b) < 0x80) {
            ca = kQuickReduction[*a++];  // ASCII on both sides, the common case
            cb = kQuickReduction[*b++];
        } else {
            ca = Reduce(DecodeUtf8(a, aEnd));
            cb = Reduce(DecodeUtf8(b, bEnd));
        }
        if (ca != cb) return Order(ca, cb);
    }
    return Final(leftBytes, rightBytes, a < aEnd, b < bEnd);
}

// UTF-16 texts handed over by the engine need not be aligned for 16-bit loads.
std::uint16_t UnitAt(const unsigned char* p, int i) {
    std::uint16_t unit;
    std::memcpy(&unit, p + 2 * i, 2);
    return unit;
}

int CompareUtf16(int leftBytes, const unsigned char* a, int rightBytes, const unsigned char* b) {
    const int leftUnits = leftBytes / 2, rightUnits = rightBytes / 2;
    const int common = leftUnits < rightUnits ? leftUnits : rightUnits;
    for (int i = 0; i < common; ++i) {
        const std::uint16_t ua = UnitAt(a, i), ub = UnitAt(b, i);
        if (ua == ub) continue;
        const std::uint32_t ca = Reduce(ua), cb = Reduce(ub);
        if (ca != cb) return Order(ca, cb);
    }
    return Final(leftBytes, rightBytes, leftUnits > common, rightUnits > common);
}

}  // namespace

int CompareNocase(void* encoding, int leftBytes, const void* left, int rightBytes,
                  const void* right) noexcept {
    // The engine passes a null pointer for an empty text.
    if (leftBytes < 0 || !left) leftBytes = 0;
    if (rightBytes < 0 || !right) rightBytes = 0;
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    if (reinterpret_cast<std::intptr_t>(encoding) == kNocaseUtf16) {
        return CompareUtf16(leftBytes, a, rightBytes, b);
    }
    return CompareUtf8(leftBytes, a, rightBytes, b);
}

}  // namespace DataBase::Unicode
