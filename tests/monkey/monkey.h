// A random player for the whole game. It plays on the headless platform
// with only what a player can do: clicks on visible, enabled controls of
// visible screens, drags of the disc onto labels, text typed into the code
// box (the real jump-ahead codes among it), waits short and long, queued
// rolls, and every kind of name at the prompt. While a message box is open
// it lets time pass, as a real window does, and tries to click the screens
// behind the box.
//
// After every action it checks: no exception, the action returned within a
// bounded amount of work, no timer's tick started while its own previous
// tick was still running, the name is written as it was typed, some screen
// is on show, and the player is never left without a way on or a way out.
// A position counts as a soft-lock when no "Quit" is on offer and every
// click and every drop the player can make, and a wait longer than any of
// the game's timers, leave the game exactly as it was (same variables, same
// screens, no random draw); messages alone are no way on.
//
// Used by tests/core/monkey_test.cpp (a bounded, seeded batch and, when
// VENDRAL_MONKEY_GAMES is set, the long run).
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "replay/replay.h"
#include "screens/screens.h"

namespace vendral::monkey {

// --- What the player types ------------------------------------------------

inline const std::string kCastleCode = "ZKWQXRVMBLA";
inline const std::string kGatesCode = "TEKAVURM";

// Names and texts no ordinary player would type: empty, one space, a
// hundred thousand characters, control characters, right-to-left text,
// emoji, invalid UTF-8, a NUL byte, markup, the reserved names.
inline std::vector<std::string> oddTexts() {
    std::string longText;
    longText.reserve(100000);
    for (int i = 0; i < 100000; ++i) longText += static_cast<char>('a' + i % 26);
    return {
        "",
        " ",
        longText,
        std::string("\t\x01\x07\x1b[31mred\x7f\r", 13),
        "line\nbreak",
        std::string("nul\0byte", 8),
        "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xe2\x80\xae" "evil",  // Hebrew, then a right-to-left override
        "\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7",             // Arabic
        "\xf0\x9f\x90\x89\xf0\x9f\xa7\x99\xe2\x80\x8d\xe2\x99\x82\xef\xb8\x8f",  // dragon, man mage (ZWJ)
        "\xff\xfe\xc3(",                                         // not UTF-8 at all
        "<b>Tom</b> & A&B %s %n {}",
        "Cheater",
        "cheater",
        "Nilrem",
        "Valoro",
        "Tom",
    };
}

// The answer to the name prompt: a name, or Cancel.
using NameAnswer = std::optional<std::string>;

inline bool reservedName(const std::string& n) { return n == "Cheater" || n == "cheater" || n == "Nilrem"; }

// Messages that carry the player's name, as prefix and suffix.
inline const std::array<std::pair<std::string_view, std::string_view>, 7> kNameMessages{{
    {"I bet you lost or found a bug, ", "!"},
    {"Too bad you lost now right, ", "?"},
    {"WHAT! You know it takes a long time to get here,", "!"},
    {"WHAT! Did you not want to play or accidently hit this button, ", "?"},
    {"Hoped you enjoyed the game. Goodbye, ", "!"},
    {"Goodbye, ", "!"},
    {"You are now ", ", the Supreme Wizard!"},
}};

// --- One action of the player ---------------------------------------------

struct Step {
    enum Kind { Click, Type, Drag, Wait, Roll } kind = Click;
    std::string form, control;      // Click, Type, Drag (the dragged image)
    std::string toForm, target;     // Drag
    std::string text;               // Type
    std::int64_t ms = 0;            // Wait
    int roll = 0;                   // Roll
    std::uint64_t boxSeed = 0;      // what happens while this action's message boxes are open

    std::string key() const {
        switch (kind) {
        case Click: return "click " + form + "." + control;
        case Drag: return "drag " + form + "." + control + " " + toForm + "." + target;
        case Type: return "type " + form + "." + control;
        case Wait: return "wait";
        case Roll: return "roll";
        }
        return "?";
    }
    // The line of a vendral-replay script (a line break in typed text is
    // written as \n, which a script cannot carry).
    std::string scriptLine() const {
        switch (kind) {
        case Click: return "click " + form + "." + control;
        case Drag: return "drag " + form + "." + control + " " + toForm + "." + target;
        case Type: return "type " + form + "." + control + " " + oneLine(text);
        case Wait: return "wait " + std::to_string(ms);
        case Roll: return "roll " + std::to_string(roll);
        }
        return "?";
    }
};

// Everything that decides a game besides its steps.
struct Start {
    std::uint64_t seed = 1;   // the game's own random source
    NameAnswer name;          // nothing: Cancel
    bool timeInBoxes = true;  // time passes while message boxes are open
};

inline std::string scriptOf(const Start& start, const std::vector<Step>& steps) {
    std::string out = "# seed: " + std::to_string(start.seed) + "\n";
    out += start.name ? (start.name->empty() ? "name\n" : "name " + oneLine(*start.name) + "\n") : "cancel\n";
    for (const Step& s : steps) out += s.scriptLine() + "\n";
    return out;
}

// A step whose work exceeded its bound: taken as an endless loop.
struct Runaway {
    std::string what;
};

// --- Timer ticks, watched ---------------------------------------------------

class WatchedPlatform;

// Each timer's tick handler is run through one of these slots, which notes
// a tick that starts while its own previous run has not returned, or one
// the engine started without marking its timer as ticking.
struct TickSlot {
    Handler original = nullptr;
    Control* timer = nullptr;
    bool inside = false;
};
inline constexpr int kTickSlots = 32;
// The platform of the game being played: its slots serve the ticks.
inline class WatchedPlatform* tickOwner = nullptr;

template <int I>
void watchedTick(Game& g);
template <int... I>
constexpr std::array<Handler, sizeof...(I)> watchedTicks(std::integer_sequence<int, I...>) {
    return {&watchedTick<I>...};
}

// --- The platform ---------------------------------------------------------------

class WatchedPlatform : public HeadlessPlatform {
public:
    explicit WatchedPlatform(const Start& start) : HeadlessPlatform(start.seed), timeInBoxes_(start.timeInBoxes) {
        tickOwner = this;
        if (start.name)
            queueName(*start.name);
        else
            queueName(std::nullopt);
    }
    ~WatchedPlatform() override {
        if (tickOwner == this) tickOwner = nullptr;
    }

    Game* game = nullptr;
    std::mt19937_64 boxRng;
    std::array<TickSlot, kTickSlots> slots{};
    int slotsUsed = 0;

    // What went wrong, one line each; and the figures.
    std::vector<std::string> faults;
    int reentries = 0;
    std::int64_t work = 0;
    std::int64_t workCap = 0;
    int rollsDrawn = 0;
    std::int64_t messages = 0;
    std::int64_t ticks = 0;
    std::int64_t boxClicksRefused = 0;

    void beginAction(std::uint64_t boxSeed, std::int64_t cap) {
        boxRng.seed(boxSeed);
        work = 0;
        workCap = cap;
        rollsDrawn = 0;
    }

    void spend(const char* what) {
        if (++work > workCap) throw Runaway{std::string(what) + ": more than " + std::to_string(workCap) +
                                            " message boxes and ticks in one action"};
    }

    void messageBox(const std::string& text) override {
        HeadlessPlatform::messageBox(text);
        ++messages;
        spend("message");
        checkName(text);
        if (!game || boxDepth_ >= 3) return;
        ++boxDepth_;
        struct Leave {
            int& d;
            ~Leave() { --d; }
        } leave{boxDepth_};
        // The screens behind an open box take no click and no drop.
        if (boxRng() % 3 == 0) clickBehindTheBox();
        // Time passes while the player reads.
        if (timeInBoxes_ && boxRng() % 4 == 0) {
            const std::int64_t ms = boxRng() % 10 == 0 ? 1000 + boxRng() % 60000 : 1 + boxRng() % 3000;
            workCap += ms + 100;
            wait(*game, ms);
        }
    }

    std::optional<int> scriptedRoll() override {
        ++rollsDrawn;
        return HeadlessPlatform::scriptedRoll();
    }

    void screenLoaded(Screen& s) override {
        // Every timer of the screen ticks through a watched slot.
        for (Control& c : s.controls()) {
            if (c.kind() != Kind::Timer || !c.onTick) continue;
            if (slotsUsed >= kTickSlots) {
                faults.push_back("more timers than watched slots");
                continue;
            }
            slots[static_cast<std::size_t>(slotsUsed)] = TickSlot{c.onTick, &c, false};
            c.onTick = watchedTicks(std::make_integer_sequence<int, kTickSlots>{})[static_cast<std::size_t>(slotsUsed)];
            ++slotsUsed;
        }
    }

    void tick(TickSlot& slot, Game& g) {
        ++ticks;
        spend("tick");
        if (slot.inside) {
            ++reentries;
            faults.push_back("timer " + std::string(slot.timer->screen().name()) + "." +
                             std::string(slot.timer->name()) + " ticked again while its previous tick was running");
        }
        if (!slot.timer->ticking)
            faults.push_back("timer " + std::string(slot.timer->name()) + " ticked without being marked as ticking");
        slot.inside = true;
        struct Out {
            bool& b;
            ~Out() { b = false; }
        } out{slot.inside};
        slot.original(g);
    }

private:
    void checkName(const std::string& text) {
        if (!game) return;
        const std::string& name = game->state.playername;
        for (const auto& [prefix, suffix] : kNameMessages) {
            if (text.size() < prefix.size() + suffix.size() || text.compare(0, prefix.size(), prefix) != 0 ||
                text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            if (prefix == "Goodbye, " && text.rfind("Hoped", 0) == 0) continue;
            const std::string expected = std::string(prefix) + name + std::string(suffix);
            if (text != expected)
                faults.push_back("the name is not written as typed: \"" + oneLine(text.substr(0, 200)) + "\"");
            return;
        }
    }

    void clickBehindTheBox() {
        std::vector<Control*> open;
        for (Screen* s : game->loadedScreens()) {
            if (!s->visible()) continue;
            for (Control& c : s->controls())
                if (c.visible() && c.enabled() && (c.kind() == Kind::Button || c.onClick || c.def().dragAuto))
                    open.push_back(&c);
        }
        if (open.empty()) return;
        Control* c = open[boxRng() % open.size()];
        const std::string form(c->screen().name()), name(c->name());
        Refusal r = c->def().dragAuto ? game->drag(form, name, form, "Label1") : game->click(form, name);
        ++boxClicksRefused;
        if (r != Refusal::Busy)
            faults.push_back("a " + std::string(c->def().dragAuto ? "drag of " : "click on ") + form + "." + name +
                             " reached the screen while a message box was open");
    }

    bool timeInBoxes_;
    int boxDepth_ = 0;
};

template <int I>
void watchedTick(Game& g) {
    tickOwner->tick(tickOwner->slots[I], g);
}

// --- Looking at the game --------------------------------------------------------

// The clock labels change with the time of day only; they are left out when
// asking whether an action changed anything.
inline bool isClockLabel(const Control& c) { return c.name() == "lbltime" || c.name() == "lbldate"; }

// The whole game as the player and the story see it, hashed: variables,
// screens, every control's caption, flags, place and picture, and which
// timers run.
class Hasher {
public:
    void text(std::string_view s) { number(static_cast<std::int64_t>(std::hash<std::string_view>{}(s))); }
    void number(std::int64_t v) { h_ = (h_ ^ static_cast<std::uint64_t>(v)) * 0x100000001b3ull + (h_ >> 29); }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325ull;
};

inline std::uint64_t fingerprint(const Game& g) {
    Hasher h;
    const GameState& s = g.state;
    for (const Num* n : {&s.life, &s.magic, &s.money, &s.lifepotion, &s.magicpotion, &s.refillpotion, &s.enemylife,
                         &s.upgradechoice, &s.lifepotions, &s.magicpotions, &s.refillpotions, &s.curechoice,
                         &s.curetries, &s.invisible, &s.revives, &s.flamellife, &s.flamelmagic, &s.battleroll,
                         &s.stun}) {
        h.number(n->empty() ? 1 : 0);
        h.number(n->value());
    }
    for (const std::string* t : {&s.playername, &s.heroclass, &s.jumpcode}) h.text(*t);
    for (const Screen* sc : g.loadedScreens()) {
        h.text(sc->name());
        h.number(sc->visible());
        h.text(sc->caption());
        for (const Control& c : sc->controls()) {
            if (!isClockLabel(c)) h.text(c.caption());
            h.number(c.visible() * 2 + c.enabled());
            h.number(c.left());
            h.number(c.top());
            h.text(c.picture());
        }
    }
    return h.value();
}

// What the player can do right now.
struct Choices {
    std::vector<Step> clicks;  // visible, enabled buttons and labels/images with a click handler
    std::vector<Step> drops;   // each visible draggable image onto each label with a drop handler
    std::vector<Control*> draggables;
    std::vector<Control*> textBoxes;
    std::vector<Control*> anyTargets;  // every loaded control: a drop may land anywhere
    bool quit = false;                 // a "Quit" on offer
    bool screenShown = false;
};

inline Choices choicesOf(Game& g) {
    Choices ch;
    std::vector<Control*> dropTargets;
    for (Screen* s : g.loadedScreens()) {
        for (Control& c : s->controls()) ch.anyTargets.push_back(&c);
        if (!s->visible()) continue;
        ch.screenShown = true;
        for (Control& c : s->controls()) {
            if (!c.visible()) continue;
            const Kind k = c.kind();
            if (k == Kind::TextBox) ch.textBoxes.push_back(&c);
            if (k == Kind::Image && c.def().dragAuto) ch.draggables.push_back(&c);
            if (k == Kind::Label && c.onDrop) dropTargets.push_back(&c);
            if (!c.enabled()) continue;
            if (k == Kind::Button || ((k == Kind::Label || k == Kind::Image) && c.onClick)) {
                Step st;
                st.kind = Step::Click;
                st.form = std::string(s->name());
                st.control = std::string(c.name());
                ch.clicks.push_back(st);
                if (k == Kind::Button && c.caption() == "Quit") ch.quit = true;
            }
        }
    }
    for (Control* d : ch.draggables)
        for (Control* t : dropTargets) {
            Step st;
            st.kind = Step::Drag;
            st.form = std::string(d->screen().name());
            st.control = std::string(d->name());
            st.toForm = std::string(t->screen().name());
            st.target = std::string(t->name());
            ch.drops.push_back(st);
        }
    return ch;
}

// Clicks on the same choices after which a loop is taken for a soft-lock.
inline constexpr int kLoopClicks = 250;

// Longer than any timer of the game (Nilrem shows himself after 15 s).
inline constexpr std::int64_t kLongWait = 20000;

// --- One game -----------------------------------------------------------------

// A game in progress: the platform, the game, and the steps played so far.
struct Session {
    Start start;
    std::unique_ptr<WatchedPlatform> platform;
    std::unique_ptr<Game> game;
    std::vector<Step> steps;
    std::vector<std::string> lines;  // the transcript
    bool keepLines = false;

    explicit Session(const Start& s, bool transcript = false,
                     std::span<const ScreenDef* const> screens = allScreens())
        : start(s), keepLines(transcript) {
        platform = std::make_unique<WatchedPlatform>(start);
        game = std::make_unique<Game>(*platform, screens);
        platform->game = game.get();
        if (keepLines) platform->onLine = [this](const std::string& l) { lines.push_back(l); };
        platform->beginAction(start.seed * 31 + 7, 10000);
        game->start();
    }

    // Plays one step; returns why the engine refused it (None if it did not).
    Refusal play(const Step& st) {
        tickOwner = platform.get();
        steps.push_back(st);
        std::int64_t cap = 20000;
        if (st.kind == Step::Wait) cap += 2 * st.ms;  // the credits' six timers tick every 4 to 9 ms
        platform->beginAction(st.boxSeed, cap);
        Refusal r = Refusal::None;
        switch (st.kind) {
        case Step::Click: r = game->click(st.form, st.control); break;
        case Step::Type: r = game->type(st.form, st.control, st.text); break;
        case Step::Drag: r = game->drag(st.form, st.control, st.toForm, st.target); break;
        case Step::Wait: platform->wait(*game, st.ms); break;
        case Step::Roll: platform->queueRoll(st.roll); break;
        }
        // A refused action is no step of the game: the script leaves it out.
        if (r != Refusal::None) steps.pop_back();
        return r;
    }
};

// Replays a start and steps; null when a step is refused or runs away.
inline std::unique_ptr<Session> replay(const Start& start, const std::vector<Step>& steps,
                                       std::span<const ScreenDef* const> screens = allScreens()) {
    auto s = std::make_unique<Session>(start, false, screens);
    try {
        for (const Step& st : steps) {
            if (s->game->ended()) return nullptr;
            if (s->play(st) != Refusal::None) return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
    return s;
}

// Whether the game at the end of these steps leaves the player stranded,
// tried the slow and sure way: each click and drop on offer, and a long
// wait, each played on its own fresh copy of the game.
inline bool strandedAt(const Start& start, const std::vector<Step>& steps,
                       std::span<const ScreenDef* const> screens = allScreens()) {
    auto here = replay(start, steps, screens);
    if (!here || here->game->ended() || here->game->busy()) return false;
    const Choices ch = choicesOf(*here->game);
    if (ch.quit) return false;
    const std::uint64_t before = fingerprint(*here->game);
    std::vector<Step> tries = ch.clicks;
    tries.insert(tries.end(), ch.drops.begin(), ch.drops.end());
    Step longWait;
    longWait.kind = Step::Wait;
    longWait.ms = kLongWait;
    tries.push_back(longWait);
    for (const Step& t : tries) {
        std::vector<Step> more = steps;
        more.push_back(t);
        auto after = replay(start, more, screens);
        if (!after) return false;  // refused or ran away: not a plain soft-lock
        if (after->game->ended() || after->platform->rollsDrawn > 0 || fingerprint(*after->game) != before)
            return false;
    }
    return true;
}

// A soft-lock, shortened to the fewest steps that still reach one.
inline std::vector<Step> shorten(std::vector<Step> steps,
                                 const std::function<bool(const std::vector<Step>&)>& stillBad) {
    for (std::size_t i = steps.size(); i-- > 0;) {
        std::vector<Step> fewer = steps;
        fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
        if (stillBad(fewer)) steps = std::move(fewer);
    }
    return steps;
}

// --- The random player ------------------------------------------------------------

struct Figures {
    std::int64_t games = 0, resumed = 0, actions = 0, messages = 0, ticks = 0, boxClicks = 0;
    std::int64_t ended = 0, castleCodes = 0, gatesCodes = 0;
    std::int64_t crashes = 0, sanitizerReports = 0, hangs = 0, softLocks = 0, reentries = 0, faults = 0;
    std::set<std::string> screensSeen;
    std::set<std::string> controlsClicked;  // FORM.CONTROL
    std::vector<std::string> reports;       // one paragraph per problem

    void add(const Figures& o) {
        games += o.games;
        resumed += o.resumed;
        actions += o.actions;
        messages += o.messages;
        ticks += o.ticks;
        boxClicks += o.boxClicks;
        ended += o.ended;
        castleCodes += o.castleCodes;
        gatesCodes += o.gatesCodes;
        crashes += o.crashes;
        sanitizerReports += o.sanitizerReports;
        hangs += o.hangs;
        softLocks += o.softLocks;
        reentries += o.reentries;
        faults += o.faults;
        screensSeen.insert(o.screensSeen.begin(), o.screensSeen.end());
        controlsClicked.insert(o.controlsClicked.begin(), o.controlsClicked.end());
        reports.insert(reports.end(), o.reports.begin(), o.reports.end());
    }
    std::string summary() const {
        std::ostringstream o;
        o << "games " << games << " (" << resumed << " resumed from a recorded position), actions " << actions
          << ", messages " << messages << ", timer ticks " << ticks << ", clicks behind message boxes " << boxClicks
          << ", games ended " << ended << ", codes accepted " << castleCodes << "+" << gatesCodes
          << ", screens reached " << screensSeen.size() << ", controls clicked " << controlsClicked.size()
          << "\ncrashes " << crashes << ", sanitizer reports " << sanitizerReports << ", hangs " << hangs
          << ", soft-locks " << softLocks << ", timer re-entries " << reentries << ", other faults " << faults;
        return o.str();
    }
};

// Every control a player could ever click: all buttons, and the labels and
// images with a click handler, as FORM.CONTROL.
inline std::set<std::string> clickableControls() {
    std::set<std::string> all;
    for (const ScreenDef* d : allScreens())
        for (const ScreenPart* p : d->parts) {
            for (const ControlDef& c : p->controls)
                if (c.kind == Kind::Button) all.insert(std::string(d->name) + "." + std::string(c.name));
            for (const ClickBinding& b : p->clicks) all.insert(std::string(d->name) + "." + std::string(b.control));
        }
    return all;
}

inline std::string neverClicked(const Figures& f) {
    std::string out;
    for (const std::string& c : clickableControls())
        if (!f.controlsClicked.count(c)) out += " " + c;
    return out;
}

// A position worth coming back to: the first way found to a new set of
// choices. Games often resume from one, so that the random player gets deep
// into the story rather than dying at the dragon again and again.
struct Cell {
    Start start;
    std::vector<Step> steps;
    int visits = 0;
};

class Player {
public:
    explicit Player(std::uint64_t seed) : rng_(seed) {
        texts_ = oddTexts();
    }

    int maxActions = 400;       // per game, before it is left
    bool explore = true;        // resume from recorded positions
    bool shortenReports = true; // cut a soft-lock's script down before reporting it

    Figures figures;

    // The recorded positions, deepest first (for looking into coverage).
    std::string archiveText(std::size_t most) const {
        std::vector<const std::pair<const std::string, Cell>*> all;
        for (const auto& kv : archive_) all.push_back(&kv);
        std::sort(all.begin(), all.end(), [](auto* a, auto* b) { return a->second.steps.size() > b->second.steps.size(); });
        std::string out = std::to_string(all.size()) + " positions\n";
        if (const char* want = std::getenv("VENDRAL_MONKEY_CELL"))
            for (auto* kv : all)
                if (kv->first.find(want) != std::string::npos) {
                    out += "script of " + kv->first + ":\n" + scriptOf(kv->second.start, kv->second.steps);
                    break;
                }
        for (std::size_t i = 0; i < all.size() && i < most; ++i)
            out += std::to_string(all[i]->second.steps.size()) + " steps, " + std::to_string(all[i]->second.visits) +
                   " visits: " + all[i]->first.substr(0, 300) + "\n";
        return out;
    }

    // A known way through the story (a story script); games also start from
    // any point along it.
    void addRoute(const Start& start, std::vector<Step> steps) {
        Cell c;
        c.start = start;
        c.steps = std::move(steps);
        routes_.push_back(std::move(c));
    }
    std::size_t routes() const { return routes_.size(); }

    void playGame(std::uint64_t gameSeed) {
        ++figures.games;
        Start start;
        std::vector<Step> prefix;
        bool exact = true;
        const std::size_t way = pick(10);
        if (explore && !routes_.empty() && way < 3) {
            const Cell& route = routes_[pick(routes_.size())];
            start = route.start;
            start.timeInBoxes = pick(2) == 0;
            prefix.assign(route.steps.begin(),
                          route.steps.begin() + static_cast<std::ptrdiff_t>(pick(route.steps.size() + 1)));
            exact = false;
            ++figures.resumed;
        } else if (explore && !archive_.empty() && way < 8) {
            // Fewer visits, more chances; among equals, the deeper.
            auto it = archive_.begin();
            std::advance(it, static_cast<std::ptrdiff_t>(pick(archive_.size())));
            for (int tries = 0; tries < 7; ++tries) {
                auto other = archive_.begin();
                std::advance(other, static_cast<std::ptrdiff_t>(pick(archive_.size())));
                const Cell &a = other->second, &b = it->second;
                if (a.visits < b.visits || (a.visits == b.visits && a.steps.size() > b.steps.size())) it = other;
            }
            Cell& from = it->second;
            ++from.visits;
            start = from.start;
            prefix = from.steps;
            ++figures.resumed;
        } else {
            start.seed = gameSeed;
            start.timeInBoxes = pick(4) != 0;
            const std::size_t r = pick(20);
            if (r == 0)
                start.name = std::nullopt;
            else if (r < 8)
                start.name = "Tom";
            else
                start.name = texts_[pick(texts_.size())];
        }
        play(start, prefix, exact);
    }

private:
    std::size_t pick(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng_() % n); }

    void report(const std::string& kind, const Start& start, const std::vector<Step>& steps, const std::string& why,
                const Game* g) {
        std::ostringstream o;
        o << kind << ": " << why << "\n";
        if (g)
            for (const Screen* s : g->loadedScreens())
                if (s->visible()) o << describeScreenOf(*g, std::string(s->name()));
        o << "script:\n" << scriptOf(start, steps);
        figures.reports.push_back(o.str());
    }

    static std::string describeScreenOf(const Game& g, const std::string& form) {
        std::string out = "  " + form + ":";
        if (Screen* s = g.findLoaded(form))
            for (const Control& c : s->controls())
                if (c.kind() != Kind::Timer && c.visible())
                    out += " " + std::string(c.name()) + (c.enabled() ? "" : "(disabled)");
        return out + "\n";
    }

    Step randomStep(const Choices& ch, const std::set<std::string>& tried, bool probing) {
        Step st;
        st.boxSeed = rng_();
        if (probing) {
            // Something changed nothing: try what is left untried here, then a long wait.
            std::vector<const Step*> left;
            for (const Step& c : ch.clicks)
                if (!tried.count(c.key())) left.push_back(&c);
            for (const Step& d : ch.drops)
                if (!tried.count(d.key())) left.push_back(&d);
            if (!left.empty()) {
                Step chosen = *left[pick(left.size())];
                chosen.boxSeed = st.boxSeed;
                return chosen;
            }
            st.kind = Step::Wait;
            st.ms = kLongWait + static_cast<std::int64_t>(pick(20000));
            return st;
        }
        const std::size_t r = pick(100);
        if (r < 6 && !ch.textBoxes.empty()) {
            Control* box = ch.textBoxes[pick(ch.textBoxes.size())];
            st.kind = Step::Type;
            st.form = std::string(box->screen().name());
            st.control = std::string(box->name());
            const std::size_t t = pick(10);
            st.text = t < 3 ? kCastleCode : t < 6 ? kGatesCode : t == 6 ? "zkwqxrvmbla" : t == 7 ? kGatesCode + " "
                                                                                                 : texts_[pick(texts_.size())];
            return st;
        }
        if (r < 10 && !ch.draggables.empty()) {
            Control* img = ch.draggables[pick(ch.draggables.size())];
            st.kind = Step::Drag;
            st.form = std::string(img->screen().name());
            st.control = std::string(img->name());
            if (!ch.drops.empty() && pick(4) != 0) {
                const Step& d = ch.drops[pick(ch.drops.size())];
                st.toForm = d.toForm;
                st.target = d.target;
            } else {
                Control* t = ch.anyTargets[pick(ch.anyTargets.size())];
                st.toForm = std::string(t->screen().name());
                st.target = std::string(t->name());
            }
            return st;
        }
        if (r < 14) {
            st.kind = Step::Roll;
            st.roll = static_cast<int>(pick(10));
            return st;
        }
        if (r < 22 || ch.clicks.empty()) {
            st.kind = Step::Wait;
            const std::size_t w = pick(20);
            st.ms = w < 12 ? 1 + static_cast<std::int64_t>(pick(2000))
                    : w < 19 ? 2000 + static_cast<std::int64_t>(pick(30000))
                             : 30000 + static_cast<std::int64_t>(pick(400000));  // the stun lasts 300 s
            return st;
        }
        // Now and then a control seldom clicked yet, to get on in the story;
        // a "Quit" only now and then, so that games go deep.
        std::vector<const Step*> rare;
        if (pick(3) == 0)
            for (const Step& c : ch.clicks)
                if (clickCount_[c.form + "." + c.control] < 20) rare.push_back(&c);
        Step chosen = rare.empty() ? ch.clicks[pick(ch.clicks.size())] : *rare[pick(rare.size())];
        for (int again = 0; again < 3 && ch.clicks.size() > 1 && isQuit(chosen) && pick(8) != 0; ++again)
            chosen = ch.clicks[pick(ch.clicks.size())];
        chosen.boxSeed = st.boxSeed;
        return chosen;
    }

    // Where the player stands: the hero, the screens on show, the choices on offer.
    static std::string cellOf(const Game& g, const Choices& ch) {
        std::string cell = g.state.heroclass + ":";
        for (const Screen* s : g.loadedScreens()) {
            if (s->visible()) cell += std::string(s->name()) + ":";
            // The hero each journey screen plays.
            if (const Control* c = const_cast<Screen*>(s)->find("Label1"); c && s->name() != "Form2") cell += c->caption() + ":";
        }
        for (const Step& c : ch.clicks) cell += c.control + ",";
        if (!ch.draggables.empty()) cell += "+disc";
        return cell;
    }

    void remember(const std::string& cell, const Start& start, const std::vector<Step>& steps) {
        if (!explore || archive_.size() > 4000) return;
        auto [it, fresh] = archive_.try_emplace(cell);
        if (fresh || steps.size() < it->second.steps.size()) {
            it->second.start = start;
            it->second.steps = steps;
        }
    }

    void noteSoftLock(const Start& start, const std::vector<Step>& steps, const Game& g) {
        ++figures.softLocks;
        std::vector<Step> shown = steps;
        Start plain = start;
        plain.timeInBoxes = false;
        bool sure = strandedAt(plain, steps);
        if (sure && shortenReports) {
            // The name rarely matters: try an ordinary one first.
            Start tom = plain;
            tom.name = "Tom";
            if (strandedAt(tom, steps)) plain = tom;
            shown = shorten(steps, [&](const std::vector<Step>& s) { return strandedAt(plain, s); });
        }
        report(sure ? "soft-lock" : "soft-lock (seen with time passing in message boxes)", sure ? plain : start,
               shown, "no Quit, and nothing the player can do changes the game", &g);
    }

    // Plays a game: the prefix first (exactly, or as far as it still goes),
    // then random steps.
    void play(const Start& start, std::vector<Step> prefix, bool exact) {
        std::unique_ptr<Session> s;
        try {
            s = std::make_unique<Session>(start);
        } catch (const std::exception& e) {
            ++figures.crashes;
            report("crash", start, {}, std::string("exception at start: ") + e.what(), nullptr);
            return;
        }
        Game& g = *s->game;
        WatchedPlatform& p = *s->platform;
        // The name as typed, unless it was empty or reserved.
        const std::string typed = start.name.value_or("");
        const std::string want = typed.empty() || reservedName(typed) ? "Stranger" : typed;
        if (g.state.playername != want) {
            ++figures.faults;
            report("fault", start, {}, "the name prompt's answer was not kept as typed", &g);
        }
        std::uint64_t here = fingerprint(g);
        std::set<std::string> tried;  // steps that changed nothing at `here`
        bool waitedHere = false;
        std::size_t faultsSeen = 0;
        std::string lastCell;
        int sameChoices = 0;
        for (int n = 0; n < maxActions + static_cast<int>(prefix.size()) && !g.ended(); ++n) {
            const bool replaying = static_cast<std::size_t>(n) < prefix.size();
            const Choices ch = choicesOf(g);
            if (!ch.screenShown) {
                ++figures.faults;
                report("fault", start, s->steps, "the game runs with no screen on show", &g);
                break;
            }
            for (const Screen* sc : g.loadedScreens())
                if (sc->visible()) figures.screensSeen.insert(std::string(sc->name()));
            const std::string cell = cellOf(g, ch);
            if (!replaying) remember(cell, start, s->steps);
            // The same choices, and no Quit among them, click after click: a
            // loop with no way on (each click may still change a number).
            if (ch.quit || cell != lastCell) {
                sameChoices = 0;
                lastCell = cell;
            } else if (sameChoices > kLoopClicks) {
                ++figures.softLocks;
                report("soft-lock (a loop)", start, s->steps,
                       "the same choices, with no Quit, for " + std::to_string(kLoopClicks) + " clicks", &g);
                break;
            }
            // A soft-lock: no Quit, every click and drop tried here in vain, and a long wait too.
            if (!ch.quit && waitedHere) {
                bool all = true;
                for (const Step& c : ch.clicks) all = all && tried.count(c.key());
                for (const Step& d : ch.drops) all = all && tried.count(d.key());
                if (all) {
                    noteSoftLock(start, s->steps, g);
                    break;
                }
            }
            const bool probing = !ch.quit && (!tried.empty() || waitedHere);
            Step st = replaying ? prefix[static_cast<std::size_t>(n)] : randomStep(ch, tried, probing);
            const bool legal = st.kind != Step::Click || std::any_of(ch.clicks.begin(), ch.clicks.end(), [&](const Step& c) {
                                   return c.form == st.form && c.control == st.control;
                               });
            Refusal r = Refusal::None;
            try {
                r = s->play(st);
            } catch (const Runaway& e) {
                ++figures.hangs;
                report("hang", start, s->steps, e.what, &g);
                break;
            } catch (const std::exception& e) {
                ++figures.crashes;
                report("crash", start, s->steps, std::string("exception: ") + e.what(), &g);
                break;
            }
            if (!replaying) ++figures.actions;
            if (r != Refusal::None && replaying && !exact) {
                // A known route that goes differently with time passing in its boxes.
                prefix.resize(static_cast<std::size_t>(n));
                continue;
            }
            if (r != Refusal::None && replaying) {
                ++figures.faults;
                report("fault", start, s->steps, "a recorded game played differently the second time", &g);
                break;
            }
            if (r != Refusal::None && legal) {
                ++figures.faults;
                report("fault", start, s->steps, "a legal action was refused: " + std::string(refusalText(r)), &g);
                break;
            }
            if (g.busy()) {
                ++figures.faults;
                report("fault", start, s->steps, "a handler is still running after its action returned", &g);
                break;
            }
            if (st.kind == Step::Click || st.kind == Step::Drag) ++sameChoices;
            if (st.kind == Step::Click) {
                figures.controlsClicked.insert(st.form + "." + st.control);
                ++clickCount_[st.form + "." + st.control];
            }
            if (st.kind == Step::Click && st.control == "cmdverify" && !g.findLoaded("Form1")->find("txtjump")->visible()) {
                (g.state.jumpcode == kGatesCode ? figures.gatesCodes : figures.castleCodes) += 1;
            }
            if (p.faults.size() > faultsSeen) {
                figures.faults += static_cast<std::int64_t>(p.faults.size() - faultsSeen);
                for (std::size_t i = faultsSeen; i < p.faults.size(); ++i) report("fault", start, s->steps, p.faults[i], &g);
                faultsSeen = p.faults.size();
                if (p.reentries > 0) break;
            }
            if (g.ended()) break;
            // Did anything change?
            const std::uint64_t now = fingerprint(g);
            if (now != here || p.rollsDrawn > 0) {
                here = now;
                tried.clear();
                waitedHere = false;
            } else if (st.kind == Step::Click || st.kind == Step::Drag) {
                tried.insert(st.key());
            } else if (st.kind == Step::Wait && st.ms >= kLongWait) {
                waitedHere = true;
            }
        }
        if (g.ended()) ++figures.ended;
        figures.messages += p.messages;
        figures.ticks += p.ticks;
        figures.boxClicks += p.boxClicksRefused;
        figures.reentries += p.reentries;
    }

    bool isQuit(const Step& st) const {
        return st.control == "cmdlose" || st.control == "cmdquit" || (st.form == "Form2" && st.control == "Command2") ||
               (st.form == "Form5" && st.control == "Command1");
    }

    std::mt19937_64 rng_;
    std::vector<std::string> texts_;
    std::map<std::string, int> clickCount_;
    std::map<std::string, Cell> archive_;
    std::vector<Cell> routes_;
};

// A known way through the story: how the game starts and the player's steps.
struct Route {
    Start start;
    std::vector<Step> steps;
};

// The story scripts under `folder` as routes, in the order of their paths:
// their name, rolls and player actions, up to the first action that the
// game refuses (a script may end on purpose with a refused action).
inline std::vector<Route> storyRoutes(const std::filesystem::path& folder) {
    std::vector<Route> routes;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return routes;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder, ec))
        if (e.path().extension() == ".script") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file);
        std::string first;
        std::getline(in, first);
        Start start;
        start.timeInBoxes = false;
        if (first.rfind("# seed: ", 0) == 0) start.seed = std::strtoull(first.c_str() + 8, nullptr, 10);
        in.seekg(0);
        bool named = false;
        std::vector<Step> steps;
        for (const ScriptLine& l : parseScript(in)) {
            Step st;
            if (l.command == "name" || l.command == "cancel") {
                if (!named) start.name = l.command == "name" ? NameAnswer(l.rest) : std::nullopt;
                named = true;
                continue;
            }
            const auto split = [](const std::string& w, std::string& form, std::string& control) {
                const auto dot = w.find('.');
                form = w.substr(0, dot);
                control = dot == std::string::npos ? "" : w.substr(dot + 1);
            };
            if (l.command == "roll") {
                st.kind = Step::Roll;
                st.roll = std::atoi(l.rest.c_str());
            } else if (l.command == "click") {
                split(l.rest, st.form, st.control);
            } else if (l.command == "type") {
                st.kind = Step::Type;
                const auto sp = l.rest.find(' ');
                split(l.rest.substr(0, sp), st.form, st.control);
                st.text = sp == std::string::npos ? "" : l.rest.substr(sp + 1);
            } else if (l.command == "drag") {
                st.kind = Step::Drag;
                const auto sp = l.rest.find(' ');
                split(l.rest.substr(0, sp), st.form, st.control);
                split(sp == std::string::npos ? "" : l.rest.substr(sp + 1), st.toForm, st.target);
            } else if (l.command == "wait") {
                st.kind = Step::Wait;
                st.ms = std::atoll(l.rest.c_str());
            } else {
                continue;  // state, screen
            }
            steps.push_back(st);
        }
        if (!named) start.name = std::nullopt;
        // Keep what plays through.
        Session s(start);
        std::size_t good = 0;
        try {
            for (; good < steps.size() && !s.game->ended(); ++good)
                if (s.play(steps[good]) != Refusal::None) break;
        } catch (...) {
        }
        steps.resize(good);
        routes.push_back(Route{start, std::move(steps)});
    }
    return routes;
}

inline void addStoryRoutes(Player& player, const std::filesystem::path& folder) {
    for (Route& r : storyRoutes(folder)) player.addRoute(r.start, std::move(r.steps));
}

// --- A watchdog for handlers that never return ----------------------------------

// Ends the process with a message if one game takes longer than `limit`:
// a handler caught in an endless loop never comes back to be counted.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { watch(); }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void pet(std::uint64_t gameSeed) {
        seed_ = gameSeed;
        last_ = std::chrono::steady_clock::now().time_since_epoch().count();
    }

private:
    void watch() {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
            if (now - last_.load() > std::chrono::duration_cast<std::chrono::steady_clock::duration>(limit_).count()) {
                std::fprintf(stderr, "monkey: game %llu has not returned for %lld s: a handler never ends\n",
                             static_cast<unsigned long long>(seed_.load()), static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }
    std::chrono::seconds limit_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> seed_{0};
    std::atomic<std::int64_t> last_{std::chrono::steady_clock::now().time_since_epoch().count()};
    std::thread thread_;
};

}  // namespace vendral::monkey
