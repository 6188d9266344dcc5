#include "ui/AssayText.h"

AssayText formatAssayLabel(std::u16string_view date, std::u16string_view time,
                           std::u16string_view sample) {
    return joinBounded<kAssayTextCapacity>({date, u" ", time, u" ", sample});
}

AssayText formatAssayItem(std::u16string_view date, std::u16string_view time,
                          std::u16string_view sample) {
    return joinBounded<kAssayTextCapacity>({date, u"   ", time, u"   ", sample});
}
