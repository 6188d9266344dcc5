#include "check/driver/WindowScript.h"

#include <exception>
#include <utility>

#include "check/driver/ControlText.h"
#include "check/driver/DialogSearch.h"
#include "check/driver/WindowActions.h"
#include "text/Utf8.h"

namespace {

// Ticks of 10 ms without progress before a script counts as lost: a safeguard against a hung
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
    std::vector<MessageBoxText> unexpectedBoxes;

    bool stepsLeft() const { return next < steps.size(); }
};

// The players of the scripts now running, by timer, innermost last.
std::vector<std::pair<UINT_PTR, Player*>> players;

void abandon(Player& player, std::string failure) {
    player.failure = std::move(failure);
    player.gaveUp = true;
    if (player.giveUp) player.giveUp();
}

// Closes the message boxes no step waits for; true if there were any.
bool closeUnexpectedBoxes(Player& player) {
    std::vector<MessageBoxText> boxes = CloseMessageBoxes();
    for (MessageBoxText& box : boxes) player.unexpectedBoxes.push_back(std::move(box));
    return !boxes.empty();
}

void play(Player& player) {
    if (player.gaveUp) {
        // Repeated until the blocking call returns: closing one window may open another.
        closeUnexpectedBoxes(player);
        CancelOpenDialogs();
        return;
    }
    if (player.stepsLeft()) {
        ScriptStep& step = player.steps[player.next];
        if (HWND window = step.find()) {
            ++player.next;
            player.idleTicks = 0;
            step.act(window);
            return;
        }
    }
    const std::string when = player.stepsLeft()
                                 ? "while waiting for " + player.steps[player.next].what
                                 : "after the last step";
    const std::size_t seen = player.unexpectedBoxes.size();
    if (closeUnexpectedBoxes(player)) {
        const MessageBoxText& box = player.unexpectedBoxes[seen];
        abandon(player, "message box \"" + toUtf8(box.caption) + "\": " + toUtf8(box.text) + " (" +
                            when + ")");
    } else if (++player.idleTicks > kPatienceTicks) {
        abandon(player, player.stepsLeft() ? player.steps[player.next].what + " never came"
                                           : "the run went on after the last step");
    }
}

void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (players.empty() || players.back().first != timer) return;
    Player& player = *players.back().second;
    try {
        play(player);
    } catch (const std::exception& failure) {
        abandon(player, std::string("a step failed: ") + failure.what());
    } catch (...) {
        abandon(player, "a step failed");
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
        if (!script.running()) return {false, "no timer", {}};
        blocking();
    }

    ScriptOutcome outcome;
    outcome.completed = !player.gaveUp && !player.stepsLeft();
    outcome.failure = player.failure;
    if (!player.gaveUp && player.stepsLeft())
        outcome.failure = "the run ended before " + player.steps[player.next].what;
    outcome.unexpectedBoxes = std::move(player.unexpectedBoxes);
    return outcome;
}

ScriptOutcome Press(HWND dialog, int id, std::vector<ScriptStep> steps) {
    return PlayScript([dialog, id] { SendClick(dialog, id); }, std::move(steps));
}

ScriptStep OnOwnedDialog(std::string what, HWND owner, std::function<void(HWND)> act) {
    return {std::move(what), [owner] { return FindOwnedDialog(owner); }, std::move(act)};
}

ScriptStep DismissMessageBox(std::vector<MessageBoxText>& seen) {
    return {"a message box", FindMessageBox, [&seen](HWND box) {
                seen.push_back(ReadMessageBox(box));
                PostClick(box, IDOK);
            }};
}
