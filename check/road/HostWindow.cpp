#include "check/road/HostWindow.h"

#include <exception>

#include "check/road/Win32Text.h"

namespace {

constexpr wchar_t kClassName[] = L"NivraRoadHost";
constexpr UINT_PTR kGuardTimer = 1;
constexpr UINT kGuardPeriodMs = 250;
// Every message box of the plug-in has this caption.
const std::u16string kMessageBoxCaption = u"Ошибка";
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    HWND owner;
    std::u16string title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (ClassName(window) == u"#32770" && IsWindowVisible(window) &&
        (!search.owner || GetWindow(window, GW_OWNER) == search.owner) &&
        WindowText(window) == search.title) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindOwnedDialog(HWND owner, const std::u16string& title) {
    Search search{owner, title};
    EnumThreadWindows(GetCurrentThreadId(), MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HostWindow::HostWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kClassName, L"Хост", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                              nullptr, windowClass.hInstance, this);
    if (window_) {
        ShowWindow(window_, SW_SHOW);
        SetTimer(window_, kGuardTimer, kGuardPeriodMs, nullptr);
    }
}

HostWindow::~HostWindow() {
    if (window_) DestroyWindow(window_);
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

void HostWindow::whenShown(HWND owner, std::u16string title, std::function<void(HWND)> action) {
    waiting_ = Waiting{owner, std::move(title), std::move(action)};
}

bool HostWindow::cancelWaiting() {
    const bool wasWaiting = waiting_.has_value();
    waiting_.reset();
    return wasWaiting;
}

void HostWindow::drainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<std::u16string> HostWindow::takeClosedMessageBoxes() {
    std::vector<std::u16string> boxes;
    boxes.swap(closedBoxes_);
    return boxes;
}

void HostWindow::runWaiting() {
    if (!waiting_) return;
    HWND dialog = FindOwnedDialog(waiting_->owner, waiting_->title);
    if (!dialog) return;
    // Taken before it runs: the ticks of the loops it enters must not run it again.
    const std::function<void(HWND)> action = std::move(waiting_->action);
    waiting_.reset();
    action(dialog);
}

void HostWindow::closeMessageBoxes() {
    for (;;) {
        HWND box = FindOwnedDialog(nullptr, kMessageBoxCaption);
        if (!box) return;
        closedBoxes_.push_back(WindowText(GetDlgItem(box, kMessageBoxTextId)));
        // Ends the box as its OK button would; its own loop then returns.
        SendMessageW(box, WM_COMMAND, IDOK, 0);
        if (IsWindowVisible(box)) ShowWindow(box, SW_HIDE);
    }
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
        if (self && message == WM_TIMER && wParam == kGuardTimer) {
            self->closeMessageBoxes();
            self->runWaiting();
            return 0;
        }
    } catch (const std::exception& e) {
        // Nothing is thrown into a dialog loop; the road reports it instead.
        if (self)
            self->faults_.push_back(std::string("исключение при работе с диалогом: ") + e.what());
    } catch (...) {
        if (self) self->faults_.push_back("исключение при работе с диалогом");
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
