#pragma once

#include <cstdint>

// What a call through CallProbed saw.
struct ProbedCall {
    std::uint32_t result;  // EAX after the call
    // Bytes of arguments the callee removed from the stack: 0 for __cdecl (the caller
    // cleans up), four per argument for __stdcall.
    std::int32_t calleePopped;
};

// Calls `function` on the 32-bit stack with two 32-bit arguments pushed (a cdecl callee
// that takes fewer ignores the rest) and measures the stack pointer across the call, so a
// disagreement between the host's __cdecl and the callee's convention is seen rather than
// silently corrupting the stack.
ProbedCall CallProbed(const void* function, std::uint32_t first = 0, std::uint32_t second = 0);
