#include "ui/WindowDpi.h"

#include <memory>

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Reached by name: Windows 7 has no such function, and importing it would keep the module
// from loading there. Looked up on each call: a guarded static would bring in the runtime's
// thread library, and the lookup is cheap beside measuring nine columns.
GetDpiForWindowFunction getDpiForWindow() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC address = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(address));
}

struct ReleaseDc {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};

int screenDpi(HWND window) {
    const std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseDc> dc(GetDC(window), {window});
    return dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
}

}  // namespace

int WindowDpi(HWND window) {
    if (const auto function = getDpiForWindow())
        if (const UINT dpi = function(window)) return static_cast<int>(dpi);
    return screenDpi(window);
}
