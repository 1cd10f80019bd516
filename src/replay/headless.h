// A platform without a window: message boxes are answered with OK at once
// and written to a transcript, the name prompt takes queued answers, the
// clock is virtual and moves only when told to, and random draws can be
// scripted. Tests and the scripted player run the real story on it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "core/game.h"
#include "core/script_clock.h"

namespace vendral {

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(std::uint64_t seed = 1) : seed_(seed) {}

    // Every line a player would have seen: "message: …", "prompt: …", "end".
    std::function<void(const std::string&)> onLine;
    // Called at the end of every step of the game (Platform::stepEnded).
    std::function<void(const Control* tick)> onStepEnded;

    void queueName(std::optional<std::string> answer) { names_.push_back(std::move(answer)); }
    void queueRoll(int d) { rolls_.push_back(d); }
    bool ended() const { return ended_; }

    // Let `ms` milliseconds pass on the game's clock, running every timer
    // tick that falls due, in time order.
    void wait(Game& game, std::int64_t ms) { clock_.advance(&game, ms); }

    void messageBox(const std::string& text) override;
    std::optional<std::string> prompt(const std::string& title, const std::string& text) override;
    std::int64_t nowMs() override { return clock_.now(); }
    std::string timeText() override { return clock_.timeText(); }
    std::string dateText() override { return clock_.dateText(); }
    std::uint64_t randomSeed() override { return seed_; }
    std::optional<int> scriptedRoll() override;
    void endProgram() override;
    void stepEnded(const Control* tick) override {
        if (onStepEnded) onStepEnded(tick);
    }

private:
    void emit(const std::string& line);

    std::uint64_t seed_;
    ScriptedClock clock_;
    std::deque<std::optional<std::string>> names_;
    std::deque<int> rolls_;
    bool ended_ = false;
};

// Text on one line: a line break is written as \n.
std::string oneLine(const std::string& text);
// A caption between quotes: quotes as \" and line breaks as \n.
std::string quoted(const std::string& text);

}  // namespace vendral
