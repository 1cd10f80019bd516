#include "replay/replay.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <istream>
#include <ostream>
#include <sstream>

#include "core/game.h"
#include "core/spoken.h"
#include "replay/headless.h"
#include "screens/screens.h"

namespace vendral {

std::vector<ScriptLine> parseScript(std::istream& in) {
    std::vector<ScriptLine> lines;
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const auto first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        ScriptLine line;
        line.number = number;
        const auto space = raw.find(' ');
        line.command = raw.substr(0, space);
        if (space != std::string::npos) line.rest = raw.substr(space + 1);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string describeScreen(const Game& game, const std::string& form) {
    Screen* s = game.findLoaded(form);
    if (!s) return "screen " + form + " not loaded\n";
    std::string out = "screen " + form + " visible=" + (s->visible() ? "yes" : "no") +
                      " caption=" + quoted(s->caption()) + "\n";
    for (const Control& c : s->controls()) {
        if (c.kind() == Kind::Timer || !c.visible()) continue;
        out += "  " + std::string(c.name()) + " kind=" + std::string(kindName(c.kind())) +
               " caption=" + quoted(c.kind() == Kind::Image ? std::string() : c.caption()) +
               " enabled=" + (c.enabled() ? "yes" : "no") + "\n";
    }
    return out;
}

std::string describeState(const Game& game) { return stateLines(game.state); }

namespace {

// FORM.CONTROL into its two halves.
bool splitName(const std::string& word, std::string& form, std::string& control) {
    const auto dot = word.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == word.size()) return false;
    form = word.substr(0, dot);
    control = word.substr(dot + 1);
    return true;
}

bool parseInt(const std::string& text, std::int64_t& out) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}

}  // namespace

int runScript(const std::vector<ScriptLine>& script, ReplayDriver& driver, std::ostream& out) {
    bool started = false;
    auto fail = [&](const ScriptLine& line, const std::string& why) {
        driver.flush(out);
        out << "error: line " << line.number << ": " << line.command
            << (line.rest.empty() ? "" : " " + line.rest) << ": " << why << "\n";
        return 2;
    };
    for (std::size_t i = 0; i < script.size(); ++i) {
        const ScriptLine& line = script[i];
        const std::string& cmd = line.command;
        if (started && driver.ended()) {
            out << "error: " << refusalText(Refusal::Ended) << "\n";
            return 2;
        }
        if (cmd == "name" || cmd == "cancel" || cmd == "roll") {
            if (cmd == "name") {
                driver.queueName(&line.rest);
            } else if (cmd == "cancel") {
                if (!line.rest.empty()) return fail(line, "cancel takes nothing after it");
                driver.queueName(nullptr);
            } else {
                std::int64_t d = 0;
                if (!parseInt(line.rest, d) || d < 0 || d > 9) return fail(line, "a roll is a whole number 0 to 9");
                driver.queueRoll(static_cast<int>(d));
            }
            continue;
        }
        if (!started) {
            started = true;
            driver.start();
            driver.flush(out);
            if (driver.ended()) {
                out << "error: " << refusalText(Refusal::Ended) << "\n";
                return 2;
            }
        }
        std::string why;
        if (cmd == "click") {
            std::string form, control;
            if (!splitName(line.rest, form, control)) return fail(line, "expected FORM.CONTROL");
            why = driver.click(form, control);
        } else if (cmd == "type") {
            const auto space = line.rest.find(' ');
            std::string form, control;
            if (!splitName(line.rest.substr(0, space), form, control)) return fail(line, "expected FORM.CONTROL TEXT");
            why = driver.type(form, control, space == std::string::npos ? std::string() : line.rest.substr(space + 1));
        } else if (cmd == "drag") {
            const auto space = line.rest.find(' ');
            std::string form, image, toForm, target;
            if (space == std::string::npos || !splitName(line.rest.substr(0, space), form, image) ||
                !splitName(line.rest.substr(space + 1), toForm, target))
                return fail(line, "expected FORM.IMAGE FORM.TARGET");
            why = driver.drag(form, image, toForm, target);
        } else if (cmd == "wait") {
            std::int64_t ms = 0;
            if (!parseInt(line.rest, ms) || ms < 0) return fail(line, "expected milliseconds");
            driver.wait(ms);
        } else if (cmd == "state") {
            driver.flush(out);
            out << driver.state();
        } else if (cmd == "repeat") {
            if (!line.rest.empty()) return fail(line, "repeat takes nothing after it");
            driver.flush(out);
            const auto lines = driver.repeat();
            if (!lines) return fail(line, "repeat is played only with --spoken");
            out << *lines;
        } else if (cmd == "screen") {
            if (line.rest.empty() || line.rest.find(' ') != std::string::npos) return fail(line, "expected FORM");
            driver.flush(out);
            const std::string text = driver.screen(line.rest);
            if (text.empty()) return fail(line, std::string(refusalText(Refusal::UnknownScreen)));
            out << text;
        } else {
            return fail(line, "unknown command");
        }
        if (!why.empty()) return fail(line, why);
        driver.flush(out);
    }
    if (!started) {
        driver.start();
        driver.flush(out);
    }
    return 0;
}

namespace {

class HeadlessDriver : public ReplayDriver {
public:
    HeadlessDriver(std::uint64_t seed, std::span<const ScreenDef* const> screens, bool spoken = false)
        : platform_(seed), game_(platform_, screens) {
        platform_.onLine = [this](const std::string& l) { pending_ += l + "\n"; };
        if (spoken) {
            watch_.emplace(game_);
            // After the step's own lines (its message boxes), what a screen
            // reader is handed.
            platform_.onStepEnded = [this](const Control* tick) {
                for (const std::string& l : watch_->step(tick).lines) pending_ += "spoken: " + oneLine(l) + "\n";
            };
        }
    }
    std::optional<std::string> repeat() override {
        if (!watch_) return std::nullopt;
        std::string out;
        for (const std::string& l : repeatAnnouncement(game_).lines) out += "repeat: " + oneLine(l) + "\n";
        return out;
    }
    void queueName(const std::string* answer) override {
        platform_.queueName(answer ? std::optional<std::string>(*answer) : std::nullopt);
    }
    void queueRoll(int d) override { platform_.queueRoll(d); }
    void start() override { game_.start(); }
    bool ended() const override { return platform_.ended(); }
    std::string click(const std::string& form, const std::string& control) override {
        return std::string(refusalText(game_.click(form, control)));
    }
    std::string type(const std::string& form, const std::string& control, const std::string& text) override {
        return std::string(refusalText(game_.type(form, control, text)));
    }
    std::string drag(const std::string& form, const std::string& image, const std::string& toForm,
                     const std::string& target) override {
        return std::string(refusalText(game_.drag(form, image, toForm, target)));
    }
    void wait(std::int64_t ms) override { platform_.wait(game_, ms); }
    std::string screen(const std::string& form) override {
        if (!game_.findDef(form)) return {};
        return describeScreen(game_, form);
    }
    std::string state() override { return describeState(game_); }
    void flush(std::ostream& out) override {
        out << pending_;
        pending_.clear();
    }

private:
    HeadlessPlatform platform_;
    Game game_;
    std::string pending_;
    std::optional<SpokenWatch> watch_;
};

}  // namespace

std::unique_ptr<ReplayDriver> makeHeadlessDriver(std::uint64_t seed, std::span<const ScreenDef* const> screens,
                                                 bool spoken) {
    return std::make_unique<HeadlessDriver>(seed, screens, spoken);
}

int replayMain(int argc, char** argv, const ScriptPlayer& play, const ScriptPlayer& playSpoken) {
    constexpr const char* usage = "usage: vendral-replay [--window] [--spoken] [--seed N] [SCRIPT]\n";
    std::uint64_t seed = 1;
    std::string file;
    bool spoken = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed" && i + 1 < argc) {
            const auto read = parseSeed(argv[++i]);
            if (!read) {
                std::cerr << "vendral-replay: --seed takes a whole number\n";
                return 2;
            }
            seed = *read;
        } else if (arg == "--window") {
            // Chosen already by the program that runs this.
        } else if (arg == "--spoken") {
            spoken = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return 0;
        } else if (file.empty() && (arg.empty() || arg[0] != '-')) {
            file = arg;
        } else {
            std::cerr << usage;
            return 2;
        }
    }
    if (spoken && !playSpoken) {
        std::cerr << "vendral-replay: --spoken is not yet played through the window\n";
        return 2;
    }
    std::vector<ScriptLine> lines;
    if (file.empty()) {
        lines = parseScript(std::cin);
    } else {
        std::ifstream in(file);
        if (!in) {
            std::cerr << "vendral-replay: cannot read " << file << "\n";
            return 2;
        }
        lines = parseScript(in);
    }
    const int status = (spoken ? playSpoken : play)(lines, seed, std::cout);
    std::cout.flush();
    return status;
}

int replayHeadless(const std::string& script, std::string& transcript, std::uint64_t seed,
                   std::span<const ScreenDef* const> screens, bool spoken) {
    std::istringstream in(script);
    const auto lines = parseScript(in);
    HeadlessDriver driver(seed, screens, spoken);
    std::ostringstream out;
    int status = runScript(lines, driver, out);
    transcript = out.str();
    return status;
}

}  // namespace vendral
