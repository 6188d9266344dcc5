#include "check/road/CallProbe.h"

// RoadCallProbe(function, first, second, popped): the stack is aligned to 16 bytes at the
// call, the two arguments are pushed, and ESP after the return is compared with ESP before
// the call; ESI and EDI survive the callee in both conventions and carry the values across.
extern "C" std::uint32_t __cdecl RoadCallProbe(const void* function, std::uint32_t first,
                                               std::uint32_t second, std::int32_t* popped);

asm(R"(
    .text
    .globl _RoadCallProbe
    .def _RoadCallProbe; .scl 2; .type 32; .endef
_RoadCallProbe:
    pushl %ebp
    movl  %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl  %esp, %esi
    andl  $-16, %esp
    subl  $8, %esp
    pushl 16(%ebp)
    pushl 12(%ebp)
    movl  %esp, %edi
    call  *8(%ebp)
    movl  %esp, %ecx
    subl  %edi, %ecx
    movl  20(%ebp), %edx
    movl  %ecx, (%edx)
    movl  %esi, %esp
    popl  %ebx
    popl  %edi
    popl  %esi
    popl  %ebp
    ret
)");

ProbedCall CallProbed(const void* function, std::uint32_t first, std::uint32_t second) {
    std::int32_t popped = 0;
    const std::uint32_t result = RoadCallProbe(function, first, second, &popped);
    return {result, popped};
}
