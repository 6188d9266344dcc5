#pragma once

#include <string_view>

// What a database failure means to the user: one or two short Russian sentences saying what
// happened and what can be done, chosen by the primary part of the engine's result code.
// Codes without an explanation of their own get a general one. Portable.
std::u16string_view DatabaseFailureExplanation(int code) noexcept;
