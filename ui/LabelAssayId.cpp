#include "ui/LabelAssayId.h"

#include <cstdint>

#include "ui/AssayIdHalves.h"

namespace {
constexpr const wchar_t* kHighHalf = L"NivraAssayIdHigh";
}  // namespace

void SetLabelAssayId(HWND label, AssayId id) {
    const AssayIdHalves halves = splitAssayId(id);
    SetWindowLongPtrW(label, GWLP_USERDATA, static_cast<LONG_PTR>(id));
    if (halves.high != 0)
        SetPropW(label, kHighHalf, reinterpret_cast<HANDLE>(std::uintptr_t{halves.high}));
    else
        RemovePropW(label, kHighHalf);
}

AssayId LabelAssayId(HWND label) {
    if (!label) return 0;
    const auto low = static_cast<std::uint32_t>(GetWindowLongPtrW(label, GWLP_USERDATA));
    const auto high =
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(GetPropW(label, kHighHalf)));
    return joinAssayId({low, high});
}

void ForgetLabelAssayId(HWND label) {
    if (label) RemovePropW(label, kHighHalf);
}
