#pragma once

// Whether the thirty-two-byte routines are built: they run where the processor has AVX2,
// asked at run time. Not on Windows, where the compiler cannot keep spilled 32-byte values
// aligned on the stack. NIVRA_NO_WIDE_VECTORS leaves them out, to measure natively the
// sixteen-byte routines that the Windows DLL runs.
#if defined(__SSE2__) && defined(__GNUC__) && !defined(_WIN32) && \
    (defined(__x86_64__) || defined(__i386__)) && !defined(NIVRA_NO_WIDE_VECTORS)
#define NIVRA_WIDE_VECTORS 1

#include <atomic>

namespace DataBase::Unicode {

// Whether this processor runs them (AVX2, and POPCNT, which every processor with AVX2 has),
// asked once.
inline bool ProcessorHasWideVectors() {
    static const bool avx2 =
        (__builtin_cpu_init(), __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt"));
    return avx2;
}

// The switch UseWideVectors sets; on unless turned off.
inline std::atomic<bool>& WideVectorsAllowed() {
    static std::atomic<bool> allowed{true};
    return allowed;
}

// Whether the mappings and searches prepared now take the thirty-two-byte routines.
inline bool HasWideVectors() {
    return ProcessorHasWideVectors() && WideVectorsAllowed().load(std::memory_order_relaxed);
}

// For tests and measurements only: with false, the mappings and searches prepared from now on
// take the sixteen-byte routines, as the Windows DLL does, on any processor; those prepared
// before keep theirs. The mappings of the five tables are prepared once for each setting.
inline void UseWideVectors(bool use) {
    WideVectorsAllowed().store(use, std::memory_order_relaxed);
}

}  // namespace DataBase::Unicode
#endif
