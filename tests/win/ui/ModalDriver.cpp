#include "tests/win/ui/ModalDriver.h"

#include <gtest/gtest.h>

#include "tests/win/ui/WindowProbe.h"

namespace {

// Ticks without progress before a step counts as lost: a failsafe against a hanging test,
// not a way of waiting for anything.
constexpr int kPatienceTicks = 3000;

struct Player {
    std::vector<ModalStep> steps;
    std::size_t next = 0;
    int idleTicks = 0;
    bool gaveUp = false;
};

Player* current = nullptr;

bool isDialog(HWND window) { return ClassName(window) == u"#32770"; }

BOOL CALLBACK cancelModal(HWND window, LPARAM) {
    if (IsWindowVisible(window) && IsWindowEnabled(window) && isDialog(window))
        PostMessageW(window, WM_COMMAND, GetDlgItem(window, IDCANCEL) ? IDCANCEL : IDOK, 0);
    return TRUE;
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    Player& player = *current;
    if (player.gaveUp) {
        EnumThreadWindows(GetCurrentThreadId(), cancelModal, 0);
        return;
    }
    if (player.next >= player.steps.size()) {
        // Every step was played but the blocking call goes on: some window nobody expected
        // (a warning, a dialog that stayed open) holds it.
        if (++player.idleTicks > kPatienceTicks) {
            ADD_FAILURE() << "the modal loop went on after its last step";
            player.gaveUp = true;
        }
        return;
    }
    ModalStep& step = player.steps[player.next];
    if (HWND window = step.find()) {
        ++player.next;
        player.idleTicks = 0;
        step.act(window);
        return;
    }
    if (++player.idleTicks > kPatienceTicks) {
        ADD_FAILURE() << "the window of step \"" << step.what << "\" never appeared";
        player.gaveUp = true;
    }
}

struct FindContext {
    HWND owner;
    bool wantMessageBox;
    HWND found = nullptr;
};

BOOL CALLBACK findWindow(HWND window, LPARAM data) {
    auto& context = *reinterpret_cast<FindContext*>(data);
    if (!IsWindowVisible(window) || !isDialog(window)) return TRUE;
    const bool messageBox = GetDlgItem(window, 0xFFFF) != nullptr;
    if (context.wantMessageBox ? messageBox
                               : GetWindow(window, GW_OWNER) == context.owner && !messageBox &&
                                     IsWindowEnabled(window)) {
        context.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void PlayModal(const std::function<void()>& blocking, std::vector<ModalStep> steps) {
    Player player;
    player.steps = std::move(steps);
    Player* outer = current;
    current = &player;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, tick);
    ASSERT_NE(timer, 0u);
    blocking();
    KillTimer(nullptr, timer);
    current = outer;
    if (!player.gaveUp && player.next < player.steps.size())
        ADD_FAILURE() << "the modal loop ended before step \"" << player.steps[player.next].what
                      << "\"";
}

HWND FindOwnedDialog(HWND owner) {
    FindContext context{owner, false};
    EnumThreadWindows(GetCurrentThreadId(), findWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

HWND FindMessageBox() {
    FindContext context{nullptr, true};
    EnumThreadWindows(GetCurrentThreadId(), findWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

MessageBoxText ReadMessageBox(HWND box) {
    const HWND owner = GetWindow(box, GW_OWNER);
    return {WindowText(GetDlgItem(box, 0xFFFF)), WindowText(box), owner,
            owner ? GetWindow(owner, GW_OWNER) : nullptr};
}

ModalStep DismissMessageBox(std::vector<MessageBoxText>& seen) {
    return {"message box", FindMessageBox, [&seen](HWND box) {
                seen.push_back(ReadMessageBox(box));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }};
}
