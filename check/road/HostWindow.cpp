#include "check/road/HostWindow.h"

#include <exception>

#include "check/driver/DialogSearch.h"
#include "check/driver/MessageBoxes.h"

namespace {

constexpr wchar_t kClassName[] = L"NivraRoadHost";
constexpr UINT_PTR kGuardTimer = 1;
constexpr UINT kGuardPeriodMs = 250;
// Every message box of the plug-in has this caption.
constexpr char16_t kMessageBoxCaption[] = u"Ошибка";

}  // namespace

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

std::vector<std::u16string> HostWindow::takeClosedMessageBoxes() {
    std::vector<std::u16string> boxes;
    boxes.swap(closedBoxes_);
    return boxes;
}

void HostWindow::runWaiting() {
    if (!waiting_) return;
    HWND dialog = FindShownDialog(waiting_->owner, waiting_->title);
    if (!dialog) return;
    // Taken before it runs: the ticks of the loops it enters must not run it again.
    const std::function<void(HWND)> action = std::move(waiting_->action);
    waiting_.reset();
    action(dialog);
}

void HostWindow::closeMessageBoxes() {
    for (const MessageBoxText& box : CloseMessageBoxes({.caption = kMessageBoxCaption}))
        closedBoxes_.push_back(box.text);
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

HWND FindShownDialog(HWND owner, const std::u16string& title) {
    DialogQuery query{.caption = title};
    // No owner: any.
    if (owner) query.owner = owner;
    return FindDialog(query);
}
