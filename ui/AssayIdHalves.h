#pragma once

#include <cstdint>

#include "database/AssayId.h"

// An AssayId split into two 32-bit halves, so that it survives storage slots that are only
// 32 bits wide on the 32-bit build (window user data, window properties).
struct AssayIdHalves {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

constexpr AssayIdHalves splitAssayId(AssayId id) {
    const auto bits = static_cast<std::uint64_t>(id);
    return {static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
}

constexpr AssayId joinAssayId(AssayIdHalves halves) {
    return static_cast<AssayId>((std::uint64_t{halves.high} << 32) | halves.low);
}
