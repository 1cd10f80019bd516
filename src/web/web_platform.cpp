// The game in a web page: the platform the story runs on when it is compiled
// to WebAssembly. The page's script (app.js) draws every screen from the
// screen model this side reports, shows the message boxes and the name prompt
// as modal <dialog>s, and carries the player's clicks, typing and drops back
// in through the exported functions below.
//
// A message box waits the way a desktop one does: the handler that opened it
// is suspended (Asyncify) until the player presses OK, then goes on where it
// stopped. While it waits nothing else may call in; the page makes sure of it
// (the dialog is modal, and a timer that falls due waits until it closes).
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/game.h"
#include "core/hit.h"
#include "core/live_wake.h"
#include "core/pictures.h"
#include "core/random.h"
#include "core/script_clock.h"
#include "core/spoken.h"
#include "screens/screens.h"

// --- The page's side (app.js installs Module.page before the game starts) ---

EM_ASYNC_JS(void, js_message_box, (const char* text), {
    await Module.page.messageBox(UTF8ToString(text));
});

// The typed name in memory the game frees, or 0 for Cancel.
EM_ASYNC_JS(char*, js_prompt, (const char* title, const char* text), {
    const answer = await Module.page.prompt(UTF8ToString(title), UTF8ToString(text));
    if (answer === null || answer === undefined) return 0;
    const size = lengthBytesUTF8(answer) + 1;
    const memory = _malloc(size);
    if (memory) stringToUTF8(answer, memory, size);
    return memory;
});

EM_JS(double, js_now, (), { return Module.page.now(); });
EM_JS(double, js_wall_offset, (), { return Module.page.wallOffset(); });

// The local time and date as the browser writes them, in memory the game frees.
EM_JS(char*, js_clock_text, (int date), {
    const text = Module.page.clockText(date !== 0);
    const size = lengthBytesUTF8(text) + 1;
    const memory = _malloc(size);
    if (memory) stringToUTF8(text, memory, size);
    return memory;
});

EM_JS(double, js_fresh_seed, (), { return Module.page.freshSeed(); });
EM_JS(int, js_scripted_roll, (), { return Module.page.scriptedRoll(); });
EM_JS(void, js_end_program, (), { Module.page.endProgram(); });
EM_JS(void, js_screen_loaded, (const char* json), { Module.page.screenLoaded(JSON.parse(UTF8ToString(json))); });
EM_JS(void, js_screen_changed, (const char* name, int visible, const char* caption), {
    Module.page.screenChanged(UTF8ToString(name), visible !== 0, UTF8ToString(caption));
});
EM_JS(void, js_control_changed,
      (const char* screen, int index, const char* caption, int visible, int enabled, int left, int top,
       const char* picture, const char* words),
      {
          Module.page.controlChanged(UTF8ToString(screen), index, {
              caption: UTF8ToString(caption),
              visible: visible !== 0,
              enabled: enabled !== 0,
              left: left,
              top: top,
              picture: UTF8ToString(picture),
              words: UTF8ToString(words),
          });
      });
// Only the place of a control changed (in pixels); `screen` is the screen's
// name, which stays at one address for the whole run, so the page reads it once.
EM_JS(void, js_control_moved, (const char* screen, int index, int left, int top), {
    Module.page.controlMoved(screen, index, left, top);
});
// When the page should next call vendral_wake, on the clock Module.page.now()
// reads, or -1 for never: the page only arms its timer for that moment.
EM_JS(void, js_timers_changed, (double at), { Module.page.timersChanged(at); });
// What a screen reader is told after a step (a JSON array of its lines), and
// the control reading starts again from (its screen's name and its index in
// the table; "" and -1 for none).
EM_JS(void, js_spoken, (const char* lines, const char* screen, int index), {
    Module.page.spoken(JSON.parse(UTF8ToString(lines)), UTF8ToString(screen), index);
});

namespace vendral {
namespace {

std::string takeText(char* memory) {
    if (!memory) return {};
    std::string text(memory);
    std::free(memory);
    return text;
}

// Text as a JSON string, quotes included.
void appendJson(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    out += '"';
}

// An announcement's lines as a JSON array of strings.
std::string linesJson(const Announcement& a) {
    std::string out = "[";
    for (const std::string& line : a.lines) {
        if (out.size() > 1) out += ',';
        appendJson(out, line);
    }
    out += ']';
    return out;
}

std::string cssColour(const Rgb& c) {
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// The whole screen as the page needs it to build its panel: the table with
// each control's current state, which controls take clicks and drops, and
// which are status labels.
// Places and sizes are whole pixels of the unscaled screen, rounded from the
// table's twips as every binding rounds them (core/hit.h).
std::string describeForPage(const Screen& s) {
    const ScreenDef& def = s.def();
    std::string out = "{\"name\":";
    appendJson(out, def.name);
    out += ",\"caption\":";
    appendJson(out, s.caption());
    out += ",\"width\":" + std::to_string(pixelsOf(def.width)) +
           ",\"height\":" + std::to_string(pixelsOf(def.height));
    out += ",\"background\":";
    appendJson(out, def.hasBackground ? cssColour(def.background) : std::string());
    out += ",\"controls\":[";
    bool first = true;
    for (const Control& c : s.controls()) {
        const ControlDef& d = c.def();
        if (!first) out += ',';
        first = false;
        out += "{\"name\":";
        appendJson(out, d.name);
        out += ",\"kind\":";
        appendJson(out, kindName(d.kind));
        out += ",\"caption\":";
        appendJson(out, c.caption());
        out += ",\"left\":" + std::to_string(pixelsOf(c.left())) + ",\"top\":" + std::to_string(pixelsOf(c.top())) +
               ",\"width\":" + std::to_string(pixelsOf(d.width)) + ",\"height\":" + std::to_string(pixelsOf(d.height));
        out += std::string(",\"visible\":") + (c.visible() ? "true" : "false");
        out += std::string(",\"enabled\":") + (c.enabled() ? "true" : "false");
        out += ",\"points\":" + std::to_string(d.font.points);
        out += std::string(",\"bold\":") + (d.font.bold ? "true" : "false");
        out += ",\"picture\":";
        appendJson(out, c.picture());
        out += ",\"words\":";
        appendJson(out, pictureWordsOf(c));
        out += std::string(",\"stretch\":") + (d.stretch ? "true" : "false");
        out += std::string(",\"draggable\":") + (d.dragAuto ? "true" : "false");
        out += std::string(",\"click\":") + (c.onClick ? "true" : "false");
        out += std::string(",\"drop\":") + (c.onDrop ? "true" : "false");
        // A status label (the hero's class, life, magic, money, the enemy's
        // life): the reading layout gathers these at the top of its column.
        out += std::string(",\"status\":") + (isStatusLabel(c) ? "true" : "false");
        out += ",\"background\":";
        appendJson(out, d.hasBackground ? cssColour(d.background) : std::string());
        out += '}';
    }
    out += "]}";
    return out;
}

// How a run is played: by a person, or scripted (a fixed seed and queued
// draws), and then perhaps on a clock that stands still between advance()
// calls as well, as the scripted player's is.
enum RunMode { Scripted = 1, StillClock = 2 };

class WebPlatform : public Platform {
public:
    WebPlatform(int mode, std::uint64_t seed)
        : scripted_((mode & Scripted) != 0), stillClock_((mode & StillClock) != 0), seed_(seed) {}

    void attach(Game& game, SpokenWatch& watch) {
        game_ = &game;
        watch_ = &watch;
    }

    void messageBox(const std::string& text) override {
        sendChanges();
        js_message_box(text.c_str());
    }

    std::optional<std::string> prompt(const std::string& title, const std::string& text) override {
        sendChanges();
        char* answer = js_prompt(title.c_str(), text.c_str());
        if (!answer) return std::nullopt;
        return takeText(answer);
    }

    std::int64_t nowMs() override { return stillClock_ ? clock_.now() : static_cast<std::int64_t>(js_now()); }
    std::optional<std::int64_t> wallClockOffset() override {
        if (stillClock_) return std::nullopt;
        return static_cast<std::int64_t>(js_wall_offset());
    }
    std::string timeText() override {
        return stillClock_ ? clock_.timeText() : takeText(js_clock_text(0));
    }
    std::string dateText() override {
        return stillClock_ ? clock_.dateText() : takeText(js_clock_text(1));
    }
    std::uint64_t randomSeed() override {
        return scripted_ ? seed_ : static_cast<std::uint64_t>(js_fresh_seed());
    }
    std::optional<int> scriptedRoll() override {
        if (!scripted_) return std::nullopt;
        const int d = js_scripted_roll();
        if (d < 0 || d > 9) return std::nullopt;
        return d;
    }
    void endProgram() override {
        sendChanges();
        js_end_program();
    }

    void screenLoaded(Screen& s) override {
        sendChanges();
        js_screen_loaded(describeForPage(s).c_str());
    }
    void screenChanged(Screen& s) override {
        sendChanges();
        const std::string name(s.name());
        js_screen_changed(name.c_str(), s.visible() ? 1 : 0, s.caption().c_str());
    }
    // A control's changes reach the page once, in its last state, when the
    // page can next be seen: before a dialog opens, a screen is loaded or
    // shown, the game ends, or the call from the page returns. The rising
    // credits move six lines a thousand times a second, a few hundred of
    // them within one wake-up.
    void controlChanged(Control& c) override {
        if (c.kind() == Kind::Timer) return;
        for (const Control* p : changed_)
            if (p == &c) return;
        changed_.push_back(&c);
    }
    void sendChanges() {
        // The list is taken first: nothing sent here changes a control, but
        // the page must never see a half-sent list if it did.
        std::vector<Control*> sending;
        sending.swap(changed_);
        for (Control* c : sending) {
            const int index = indexOf(*c);
            const int left = pixelsOf(c->left()), top = pixelsOf(c->top());
            Sent& last = sent_[c];
            if (last.sent && last.caption == c->caption() && last.picture == c->picture() &&
                last.visible == c->visible() && last.enabled == c->enabled()) {
                // A move within the same pixel shows nothing new.
                if (last.left == left && last.top == top) continue;
                last.left = left;
                last.top = top;
                js_control_moved(screenName(c->screen()), index, left, top);
                continue;
            }
            last = {true, c->caption(), c->picture(), c->visible(), c->enabled(), left, top};
            const std::string words(pictureWordsOf(*c));
            js_control_changed(screenName(c->screen()), index, c->caption().c_str(), c->visible() ? 1 : 0,
                               c->enabled() ? 1 : 0, left, top, c->picture().c_str(), words.c_str());
        }
    }
    // What the step changed is told after its message boxes and after the
    // page has drawn the changes, so that the control reading starts from
    // is there to take the focus. A step that tells nothing sends nothing:
    // the clock's second ticks by unheard.
    void stepEnded(const Control* tick) override {
        if (!watch_) return;
        const Announcement told = watch_->step(tick);
        if (told.empty()) return;
        sendChanges();
        const Control* from = told.readFrom;
        js_spoken(linesJson(told).c_str(), from ? screenName(from->screen()) : "", from ? indexOf(*from) : -1);
    }

    // The page wakes the game when its next tick that would change something
    // falls due, ticks close together gathered into one wake-up
    // (core/live_wake.h); a scripted run moves its clock only when told to.
    void timersChanged() override {
        if (!game_ || stillClock_) return;
        const auto at = wake_.next(*game_, nowMs());
        js_timers_changed(at ? static_cast<double>(*at) : -1.0);
    }

    // The page's timer went off: run every tick that is due by now.
    void wake() {
        if (!game_ || game_->ended()) return;
        if (!stillClock_) wake_.woke(nowMs());
        game_->runDueTimers();
    }

    // A scripted run lets `ms` pass on the game's clock, running every tick
    // that falls due in time order, as the headless player's `wait` does.
    void advance(std::int64_t ms) {
        if (stillClock_) clock_.advance(game_, ms);
    }

private:
    bool scripted_;
    bool stillClock_;
    std::uint64_t seed_;
    ScriptedClock clock_;
    LiveWake wake_;
    // What the page was last told of a control.
    struct Sent {
        bool sent = false;
        std::string caption, picture;
        bool visible = false, enabled = false;
        int left = 0, top = 0;  // pixels
    };

    static int indexOf(const Control& c) { return static_cast<int>(&c - c.screen().controls().data()); }

    // The screen's name as a C string that lives as long as the game.
    const char* screenName(const Screen& s) {
        auto [it, added] = names_.try_emplace(&s);
        if (added) it->second = s.name();
        return it->second.c_str();
    }

    Game* game_ = nullptr;
    SpokenWatch* watch_ = nullptr;
    std::vector<Control*> changed_;
    std::unordered_map<const Control*, Sent> sent_;
    std::unordered_map<const Screen*, std::string> names_;
};

struct Session {
    Session(int mode, std::uint64_t seed) : platform(mode, seed), game(platform, allScreens()), watch(game) {
        platform.attach(game, watch);
    }
    WebPlatform platform;
    Game game;
    // What a screen reader has been told; made before the game starts, so
    // that the first screen is told whole.
    SpokenWatch watch;
};

std::unique_ptr<Session> session;

// Every call from the page ends with the screens as the game left them.
struct SendChangesOnReturn {
    ~SendChangesOnReturn() {
        if (session) session->platform.sendChanges();
    }
};

// Text handed back to the page stays valid until the next call that returns text.
const char* handBack(std::string text) {
    static std::string kept;
    kept = std::move(text);
    return kept.c_str();
}

}  // namespace
}  // namespace vendral

using vendral::session;

extern "C" {

// Starts the game: Form1 loads (asking the name) and shows. `mode` is a sum of
// RunMode flags: 0 for a player. `seedText` is the seed as the player wrote
// it, read as vendral-replay reads --seed. Returns 0 when the game started
// (or had started already), 1 when the seed is refused.
EMSCRIPTEN_KEEPALIVE int vendral_start(int mode, const char* seedText) {
    const vendral::SendChangesOnReturn sendChanges;
    if (session) return 0;
    const auto seed = vendral::parseSeed(seedText ? std::string_view(seedText) : std::string_view());
    if (!seed) return 1;
    session = std::make_unique<vendral::Session>(mode, *seed);
    session->game.start();
    return 0;
}

// The player's actions; each returns a refusal code (0: done). A press is a
// click that the page has already seen land on the control's own element.
EMSCRIPTEN_KEEPALIVE int vendral_press(const char* screen, const char* control) {
    const vendral::SendChangesOnReturn sendChanges;
    if (!session) return static_cast<int>(vendral::Refusal::NotLoaded);
    return static_cast<int>(session->game.press(screen, control));
}

// `text` is memory the page allocated with malloc; it is freed here.
EMSCRIPTEN_KEEPALIVE int vendral_type(const char* screen, const char* control, char* text) {
    const vendral::SendChangesOnReturn sendChanges;
    std::string typed = vendral::takeText(text);
    if (!session) return static_cast<int>(vendral::Refusal::NotLoaded);
    return static_cast<int>(session->game.type(screen, control, std::move(typed)));
}

EMSCRIPTEN_KEEPALIVE int vendral_drag(const char* fromScreen, const char* image, const char* toScreen,
                                      const char* target) {
    const vendral::SendChangesOnReturn sendChanges;
    if (!session) return static_cast<int>(vendral::Refusal::NotLoaded);
    return static_cast<int>(session->game.drag(fromScreen, image, toScreen, target));
}

// The page's timer went off: run every tick that is due by now.
EMSCRIPTEN_KEEPALIVE void vendral_wake() {
    const vendral::SendChangesOnReturn sendChanges;
    if (session) session->platform.wake();
}

EMSCRIPTEN_KEEPALIVE const char* vendral_refusal_text(int refusal) {
    return vendral::handBack(std::string(vendral::refusalText(static_cast<vendral::Refusal>(refusal))));
}

// Every refusal of the game as JSON, { "<key>": "<text>", ... }: the page's
// test interface and the web player take their words from here.
EMSCRIPTEN_KEEPALIVE const char* vendral_refusals() {
    std::string out = "{";
    for (const vendral::RefusalWords& r : vendral::refusals()) {
        if (out.size() > 1) out += ',';
        vendral::appendJson(out, r.key);
        out += ':';
        vendral::appendJson(out, r.text);
    }
    out += '}';
    return vendral::handBack(std::move(out));
}

// --- For scripted runs (the page's test mode) -------------------------------

EMSCRIPTEN_KEEPALIVE void vendral_advance(double ms) {
    const vendral::SendChangesOnReturn sendChanges;
    if (session) session->platform.advance(static_cast<std::int64_t>(ms));
}

EMSCRIPTEN_KEEPALIVE const char* vendral_state() {
    return vendral::handBack(session ? vendral::stateLines(session->game.state) : std::string());
}

// What the repeat key tells: the top screen again, as a JSON array of its
// lines ([] when no game is on).
EMSCRIPTEN_KEEPALIVE const char* vendral_repeat() {
    if (!session || session->game.ended()) return vendral::handBack("[]");
    return vendral::handBack(vendral::linesJson(vendral::repeatAnnouncement(session->game)));
}

// Why FORM.CONTROL cannot be reached by name, or "".
EMSCRIPTEN_KEEPALIVE const char* vendral_look_up(const char* screen, const char* control) {
    using vendral::Refusal;
    if (!session) return vendral::handBack(std::string(vendral::refusalText(Refusal::NotLoaded)));
    if (session->game.ended()) return vendral::handBack(std::string(vendral::refusalText(vendral::Refusal::Ended)));
    vendral::Control* c = nullptr;
    return vendral::handBack(std::string(vendral::refusalText(session->game.lookUp(screen, control, &c))));
}

// Where a click on FORM.CONTROL lands, in whole pixels of its screen's client
// area: "X Y" (the page aims at the pixel's middle), or "!" and why no point
// of it can be clicked.
EMSCRIPTEN_KEEPALIVE const char* vendral_click_point(const char* screen, const char* control) {
    if (!session) return vendral::handBack("!" + std::string(vendral::refusalText(vendral::Refusal::NotLoaded)));
    vendral::Control* c = nullptr;
    if (auto r = session->game.lookUp(screen, control, &c); r != vendral::Refusal::None)
        return vendral::handBack("!" + std::string(vendral::refusalText(r)));
    const auto point = vendral::clickPoint(*c);
    if (!point) return vendral::handBack("!" + std::string(vendral::refusalText(vendral::Refusal::Covered)));
    return vendral::handBack(std::to_string(vendral::pixelsOf(point->x)) + " " +
                             std::to_string(vendral::pixelsOf(point->y)));
}

}  // extern "C"
