#include "tests/host/HostMainWindow.h"

#include <stdexcept>

#include "tests/host/HostMenu.h"
#include "tests/host/TestHost.h"

namespace {

constexpr wchar_t kClassName[] = L"NivraTestHost";
// The atom of the system's dialog class "#32770".
constexpr ULONG_PTR kDialogClassAtom = 32770;
constexpr int kMargin = 12;

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kClassName, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) throw std::runtime_error("cannot register the window");
}

}  // namespace

HostMainWindow::HostMainWindow(TestHost& host, const std::wstring& title, bool quitOnClose)
    : host_(host), quitOnClose_(quitOnClose) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, Procedure);
    window_ = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 560, 180, nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("cannot create the main window");
    status_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, kMargin, kMargin,
                              520, 80, window_, nullptr, instance, nullptr);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    host_.setMenuListener([this] { refreshMenu(); });
    refreshMenu();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

HostMainWindow::~HostMainWindow() {
    host_.setMenuListener({});
    if (window_) DestroyWindow(window_);
}

void HostMainWindow::refreshMenu() {
    if (!window_) return;
    HMENU bar = BuildMenuBar(host_.menuItems());
    if (!bar) return;
    HMENU old = GetMenu(window_);
    if (!SetMenu(window_, bar)) {
        DestroyMenu(bar);
        return;
    }
    if (old) DestroyMenu(old);
    DrawMenuBar(window_);
}

void HostMainWindow::setStatus(const std::wstring& text) {
    SetWindowTextW(status_, text.c_str());
}

LRESULT CALLBACK HostMainWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<HostMainWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HostMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->respond(message, wParam, lParam);
    } catch (...) {
        // Nothing leaves a window procedure; a failed menu command simply did nothing.
        return 0;
    }
}

LRESULT HostMainWindow::respond(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            if (HIWORD(wParam) == 0 && id >= kFirstMenuCommand) {
                host_.pickMenuItem(id - kFirstMenuCommand, window_);
                return 0;
            }
            break;
        }
        case WM_SIZE:
            MoveWindow(status_, kMargin, kMargin, LOWORD(lParam) - 2 * kMargin,
                       HIWORD(lParam) - 2 * kMargin, TRUE);
            return 0;
        case WM_DESTROY:
            if (quitOnClose_) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            HWND window = window_;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && GetClassLongPtrW(root, GCW_ATOM) == kDialogClassAtom &&
            IsDialogMessageW(root, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
