#include "tests/host/WindowScript.h"

#include "check/driver/ControlText.h"
#include "tests/host/DialogSearch.h"

using namespace ControlText;

namespace {

// Ticks of 10 ms without progress before a step counts as lost: a safeguard against a hung
// run, not a way of waiting for anything.
constexpr UINT kTickMs = 10;
constexpr int kPatienceTicks = 3000;

struct Player {
    std::vector<ScriptStep> steps;
    std::function<void()> giveUp;
    std::size_t next = 0;
    int idleTicks = 0;
    bool gaveUp = false;
    std::string failure;
};

// The players of the scripts now running, by timer: a script may run inside another's step.
std::vector<std::pair<UINT_PTR, Player*>> players;

Player* playerOf(UINT_PTR timer) {
    for (const auto& [id, player] : players)
        if (id == timer) return player;
    return nullptr;
}

void abandon(Player& player, std::string failure) {
    player.failure = std::move(failure);
    player.gaveUp = true;
    if (player.giveUp) player.giveUp();
}

void step(Player& player) {
    if (player.gaveUp) {
        // Repeated until the blocking call returns: closing one window may open another.
        CancelOpenDialogs();
        return;
    }
    if (player.next >= player.steps.size()) return;
    ScriptStep& step = player.steps[player.next];
    if (HWND window = step.find()) {
        ++player.next;
        player.idleTicks = 0;
        step.act(window);
        return;
    }
    if (HWND box = FindMessageBox()) {
        const MessageBoxText shown = ReadMessageBox(box);
        abandon(player, "message box \"" + Utf8(shown.caption) + "\": " + Utf8(shown.text) +
                            " (while waiting for " + step.what + ")");
        return;
    }
    if (++player.idleTicks > kPatienceTicks) abandon(player, step.what + " never came");
}

void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD) {
    Player* player = playerOf(timer);
    if (!player) return;
    try {
        step(*player);
    } catch (const std::exception& failure) {
        abandon(*player, std::string("a step failed: ") + failure.what());
    } catch (...) {
        abandon(*player, "a step failed");
    }
}

// The timer of one script, known to `tick` for as long as the script runs.
class RunningScript {
public:
    explicit RunningScript(Player& player) : timer_(SetTimer(nullptr, 0, kTickMs, tick)) {
        if (timer_) players.emplace_back(timer_, &player);
    }
    ~RunningScript() {
        if (!timer_) return;
        KillTimer(nullptr, timer_);
        std::erase_if(players, [this](const auto& entry) { return entry.first == timer_; });
    }
    RunningScript(const RunningScript&) = delete;
    RunningScript& operator=(const RunningScript&) = delete;
    bool running() const { return timer_ != 0; }

private:
    UINT_PTR timer_;
};

}  // namespace

ScriptOutcome PlayScript(const std::function<void()>& blocking, std::vector<ScriptStep> steps,
                         const std::function<void()>& giveUp) {
    Player player;
    player.steps = std::move(steps);
    player.giveUp = giveUp;
    {
        const RunningScript script(player);
        if (!script.running()) return {false, "no timer"};
        blocking();
    }

    ScriptOutcome outcome;
    outcome.completed = !player.gaveUp && player.next == player.steps.size();
    outcome.failure = player.failure;
    if (!player.gaveUp && !outcome.completed)
        outcome.failure = "the run ended before " + player.steps[player.next].what;
    return outcome;
}

void PostClick(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
