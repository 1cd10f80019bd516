// The screen model: every screen and control of the game as plain data.
// Control tables are transcribed once per screen as constexpr arrays of
// ControlDef; at run time each loaded screen holds a Control per row, whose
// caption, visibility, enabled flag, position, picture and tag the story
// handlers change. The Qt window mirrors this model; the headless player
// reads it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vendral {

class Game;
class Screen;

enum class Kind { Button, Label, Image, TextBox, Timer };

std::string_view kindName(Kind k);

struct Font {
    double points = 0;  // 0: the toolkit's default size
    bool bold = false;
};

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// One row of a control table. Extents are in twips (15 to a pixel at 96 dpi).
struct ControlDef {
    std::string_view name;
    Kind kind = Kind::Label;
    std::string_view caption;  // for a timer: unused
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;       // for a timer: running from the start
    Font font{};
    std::string_view picture;  // picture name (a file of the art resource, without ".svg")
    bool stretch = false;      // image: scale the picture to the box
    bool dragAuto = false;     // image: can be picked up and dragged
    std::string_view tag;
    int interval = 0;          // timer: milliseconds
    bool showsTime = false;    // timer: a clock whose ticks rewrite the time of day
    bool hasBackground = false;
    Rgb background{};

    // Builders, so that a table row reads like the row it was transcribed from.
    constexpr ControlDef hidden() const { auto c = *this; c.visible = false; return c; }
    constexpr ControlDef disabled() const { auto c = *this; c.enabled = false; return c; }
    constexpr ControlDef stopped() const { auto c = *this; c.enabled = false; return c; }
    constexpr ControlDef pt(double points, bool bold = false) const {
        auto c = *this; c.font = {points, bold}; return c;
    }
    constexpr ControlDef bold() const { auto c = *this; c.font.bold = true; return c; }
    constexpr ControlDef pic(std::string_view p) const { auto c = *this; c.picture = p; return c; }
    constexpr ControlDef stretched() const { auto c = *this; c.stretch = true; return c; }
    constexpr ControlDef draggable(std::string_view t) const {
        auto c = *this; c.dragAuto = true; c.tag = t; return c;
    }
    constexpr ControlDef clock() const { auto c = *this; c.showsTime = true; return c; }
    constexpr ControlDef bg(Rgb colour) const {
        auto c = *this; c.hasBackground = true; c.background = colour; return c;
    }
};

// A row of the given kind, visible and enabled; the builders above add the rest.
constexpr ControlDef control(Kind kind, std::string_view name, std::string_view caption, int l, int t, int w, int h) {
    ControlDef c;
    c.name = name;
    c.kind = kind;
    c.caption = caption;
    c.left = l;
    c.top = t;
    c.width = w;
    c.height = h;
    return c;
}
constexpr ControlDef button(std::string_view name, std::string_view caption, int l, int t, int w, int h) {
    return control(Kind::Button, name, caption, l, t, w, h);
}
constexpr ControlDef label(std::string_view name, std::string_view caption, int l, int t, int w, int h) {
    return control(Kind::Label, name, caption, l, t, w, h);
}
constexpr ControlDef image(std::string_view name, std::string_view picture, int l, int t, int w, int h) {
    return control(Kind::Image, name, "", l, t, w, h).pic(picture);
}
constexpr ControlDef textbox(std::string_view name, int l, int t, int w, int h) {
    return control(Kind::TextBox, name, "", l, t, w, h);
}
constexpr ControlDef timer(std::string_view name, int intervalMs, bool running) {
    ControlDef c = control(Kind::Timer, name, "", 0, 0, 0, 0);
    c.visible = false;
    c.enabled = running;
    c.interval = intervalMs;
    return c;
}

using Handler = void (*)(Game&);
using DropHandler = void (*)(Game&, class Control& source);
// A timer tick that would change nothing may be skipped: it returns true then.
using IdleTest = bool (*)(const Game&);

struct ClickBinding {
    std::string_view control;
    Handler run;
};
struct DropBinding {
    std::string_view control;
    DropHandler run;
};
struct TickBinding {
    std::string_view control;
    Handler run;
    IdleTest idle = nullptr;
};

// A group of a screen's controls together with their handlers: each story
// chapter brings its own rows and handlers to the screen it plays on.
struct ScreenPart {
    std::span<const ControlDef> controls = {};
    std::span<const ClickBinding> clicks = {};
    std::span<const DropBinding> drops = {};
    std::span<const TickBinding> ticks = {};
};

struct ScreenDef {
    std::string_view name;
    std::string_view caption;
    int width = 0, height = 0;  // client area in twips
    std::span<const ScreenPart* const> parts = {};
    Handler load = nullptr;
    bool hasBackground = false;
    Rgb background{};
    bool centreOnOwner = false;
};

class Control {
public:
    Control(Screen& screen, const ControlDef& def);

    const ControlDef& def() const { return *def_; }
    std::string_view name() const { return def_->name; }
    Kind kind() const { return def_->kind; }
    Screen& screen() const { return *screen_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    bool visible() const { return visible_; }
    void setVisible(bool v);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    void enable() { setEnabled(true); }
    void disable() { setEnabled(false); }

    int left() const { return left_; }
    int top() const { return top_; }
    void move(int left, int top);

    const std::string& picture() const { return picture_; }
    void setPicture(std::string p);
    const std::string& tag() const { return tag_; }

    // Timers: the enabled flag is whether it runs.
    int interval() const { return def_->interval; }
    bool running() const { return enabled_; }
    bool showsTime() const { return def_->showsTime; }
    void start() { setEnabled(true); }
    void stop() { setEnabled(false); }

    // Handlers bound to this control (null when none).
    Handler onClick = nullptr;
    DropHandler onDrop = nullptr;
    Handler onTick = nullptr;
    IdleTest tickIdle = nullptr;

    // Scheduling state of a timer, on the game's clock (milliseconds).
    std::int64_t nextDue = 0;
    bool ticking = false;  // its handler is running (perhaps inside a message box)

private:
    void changed();

    Screen* screen_;
    const ControlDef* def_;
    std::string caption_;
    bool visible_;
    bool enabled_;
    int left_, top_;
    std::string picture_;
    std::string tag_;
};

class Screen {
public:
    Screen(Game& game, const ScreenDef& def);
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    const ScreenDef& def() const { return *def_; }
    std::string_view name() const { return def_->name; }
    Game& game() const { return *game_; }

    // The control of that name; a name not on this screen is a fault in the
    // story code and throws std::out_of_range.
    Control& operator[](std::string_view name);
    const Control& operator[](std::string_view name) const;
    Control* find(std::string_view name);
    std::vector<Control>& controls() { return controls_; }
    const std::vector<Control>& controls() const { return controls_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    bool visible() const { return visible_; }

    // "Hide these, show those": the shape of almost every story step.
    void show(std::initializer_list<std::string_view> names);
    void hide(std::initializer_list<std::string_view> names);
    void enable(std::initializer_list<std::string_view> names);
    void disable(std::initializer_list<std::string_view> names);

    bool loading = false;  // its load step is running

private:
    friend class Game;
    friend class Control;
    Game* game_;
    const ScreenDef* def_;
    std::string caption_;
    bool visible_ = false;
    std::vector<Control> controls_;
    // The controls sorted by the length of their names, then the names, for
    // lookups by name (handlers make them on every step, timer ticks included).
    std::vector<std::pair<std::string_view, Control*>> byName_;
};

}  // namespace vendral
