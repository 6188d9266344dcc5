#include "ui/Guarded.h"

#include "text/BoundedText.h"
#include "text/WideText.h"
#include "ui/FailureMessage.h"

namespace {

template <std::size_t N>
void showBox(HWND owner, const FixedText<N>& text) noexcept {
    const auto caption = joinBounded<16>({kErrorCaption});
    MessageBoxW(owner, asWide(text.c_str()), asWide(caption.c_str()), MB_OK | MB_ICONWARNING);
}

}  // namespace

void ShowWarning(HWND owner, std::u16string_view text) noexcept {
    showBox(owner, joinBounded<kFailureTextCapacity>({text}));
}

void ShowFailure(HWND owner, std::u16string_view sentence, std::exception_ptr failure) noexcept {
    showBox(owner, failureMessage(sentence, failure));
}
