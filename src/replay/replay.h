// The scripted player: reads a script of player actions, plays them on the
// real game logic and writes what the player would have seen.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "screens/screens.h"

namespace vendral {

class Game;

// One script line, split into its command and the rest.
struct ScriptLine {
    int number = 0;
    std::string command;
    std::string rest;
};

std::vector<ScriptLine> parseScript(std::istream& in);

// The transcript of `screen FORM` and `state`, as the player prints them.
std::string describeScreen(const Game& game, const std::string& form);
std::string describeState(const Game& game);

// Drives the game through one script. Implementations differ in how the
// game is shown (headless here; a real window elsewhere).
class ReplayDriver {
public:
    virtual ~ReplayDriver() = default;
    virtual void queueName(const std::string* answer) = 0;  // null: Cancel
    virtual void queueRoll(int d) = 0;
    virtual void start() = 0;
    virtual bool ended() const = 0;
    // Each returns an empty string, or why the action was refused.
    virtual std::string click(const std::string& form, const std::string& control) = 0;
    virtual std::string type(const std::string& form, const std::string& control, const std::string& text) = 0;
    virtual std::string drag(const std::string& form, const std::string& image, const std::string& toForm,
                             const std::string& target) = 0;
    virtual void wait(std::int64_t ms) = 0;
    virtual std::string screen(const std::string& form) = 0;
    virtual std::string state() = 0;
    // Lines the game has written (messages, prompt, end) since the last call.
    virtual void flush(std::ostream& out) = 0;
    // The repeat key's lines ("repeat: …"), or nothing where the driver does
    // not speak (played without --spoken).
    virtual std::optional<std::string> repeat() { return std::nullopt; }
};

// Plays the script; returns the exit status (0 played through, 2 refused).
int runScript(const std::vector<ScriptLine>& script, ReplayDriver& driver, std::ostream& out);

// With `spoken`, the transcript also tells what a screen reader is handed
// after each step ("spoken: …" lines, core/spoken.h) and plays `repeat`.
std::unique_ptr<ReplayDriver> makeHeadlessDriver(std::uint64_t seed,
                                                 std::span<const ScreenDef* const> screens = allScreens(),
                                                 bool spoken = false);

// Plays a parsed script with the given seed, writes the transcript and
// returns the exit status.
using ScriptPlayer = std::function<int(const std::vector<ScriptLine>& script, std::uint64_t seed, std::ostream& out)>;

// The command line of the scripted player, `[--window] [--spoken] [--seed N]
// [SCRIPT]` (the script from standard input when no file is named): reads
// the script and plays it with `play`, or with --spoken with `playSpoken`
// (refused where there is none). The program that runs it has already
// chosen headless or window by --window.
int replayMain(int argc, char** argv, const ScriptPlayer& play, const ScriptPlayer& playSpoken = {});

// The whole headless replay of one script text, for tests.
int replayHeadless(const std::string& script, std::string& transcript, std::uint64_t seed = 1,
                   std::span<const ScreenDef* const> screens = allScreens(), bool spoken = false);

}  // namespace vendral
