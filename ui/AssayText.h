#pragma once

#include <string_view>

#include "text/BoundedText.h"

// Label and list item texts hold 256 units, terminator included.
inline constexpr std::size_t kAssayTextCapacity = 256;
using AssayText = FixedText<kAssayTextCapacity>;

// A measurement label of the protocol window: date, time and sample, one blank apart.
AssayText formatAssayLabel(std::u16string_view date, std::u16string_view time,
                           std::u16string_view sample);

// A measurement item of the selection dialog: date, time and sample, three blanks apart.
AssayText formatAssayItem(std::u16string_view date, std::u16string_view time,
                          std::u16string_view sample);
