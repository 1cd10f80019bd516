#include "core/screen.h"

#include <algorithm>
#include <stdexcept>

#include "core/game.h"

namespace vendral {

std::string_view kindName(Kind k) {
    switch (k) {
    case Kind::Button: return "button";
    case Kind::Label: return "label";
    case Kind::Image: return "image";
    case Kind::TextBox: return "textbox";
    case Kind::Timer: return "timer";
    }
    return "?";
}

namespace {

// The order of the name index: shorter names first, then by their letters.
// Most names compared in a lookup differ in length and are told apart
// without reading them.
bool shorterOrBefore(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

Control::Control(Screen& screen, const ControlDef& def)
    : screen_(&screen),
      def_(&def),
      caption_(def.caption),
      visible_(def.visible),
      enabled_(def.enabled),
      left_(def.left),
      top_(def.top),
      picture_(def.picture),
      tag_(def.tag) {}

void Control::changed() { screen_->game().noteControlChanged(*this, false); }

void Control::setCaption(std::string text) {
    if (text == caption_) return;
    caption_ = std::move(text);
    changed();
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    changed();
}

void Control::setEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    if (kind() == Kind::Timer) {
        // A timer counts its interval from the moment it is started.
        if (e) nextDue = screen_->game().firstDue(*this, screen_->game().now());
        screen_->game().noteControlChanged(*this, true);
        return;
    }
    changed();
}

void Control::move(int left, int top) {
    if (left == left_ && top == top_) return;
    left_ = left;
    top_ = top;
    changed();
}

void Control::setPicture(std::string p) {
    if (p == picture_) return;
    picture_ = std::move(p);
    changed();
}

Screen::Screen(Game& game, const ScreenDef& def) : game_(&game), def_(&def), caption_(def.caption) {
    std::size_t n = 0;
    for (const ScreenPart* part : def.parts) n += part->controls.size();
    controls_.reserve(n);
    for (const ScreenPart* part : def.parts)
        for (const ControlDef& c : part->controls) controls_.emplace_back(*this, c);
    byName_.reserve(controls_.size());
    for (Control& c : controls_) byName_.emplace_back(c.name(), &c);
    // Stable: of two rows with one name, the first in the table is found.
    std::stable_sort(byName_.begin(), byName_.end(),
                     [](const auto& a, const auto& b) { return shorterOrBefore(a.first, b.first); });
    for (const ScreenPart* part : def.parts) {
        for (const ClickBinding& b : part->clicks) (*this)[b.control].onClick = b.run;
        for (const DropBinding& b : part->drops) (*this)[b.control].onDrop = b.run;
        for (const TickBinding& b : part->ticks) {
            Control& t = (*this)[b.control];
            t.onTick = b.run;
            t.tickIdle = b.idle;
        }
    }
}

Control* Screen::find(std::string_view name) {
    auto it = std::lower_bound(byName_.begin(), byName_.end(), name,
                               [](const auto& entry, std::string_view n) { return shorterOrBefore(entry.first, n); });
    return it != byName_.end() && it->first == name ? it->second : nullptr;
}

Control& Screen::operator[](std::string_view name) {
    if (Control* c = find(name)) return *c;
    throw std::out_of_range(std::string(def_->name) + " has no control " + std::string(name));
}

const Control& Screen::operator[](std::string_view name) const {
    return const_cast<Screen&>(*this)[name];
}

void Screen::setCaption(std::string text) {
    if (text == caption_) return;
    caption_ = std::move(text);
    game_->noteScreenChanged(*this);
}

void Screen::show(std::initializer_list<std::string_view> names) {
    for (auto n : names) (*this)[n].show();
}
void Screen::hide(std::initializer_list<std::string_view> names) {
    for (auto n : names) (*this)[n].hide();
}
void Screen::enable(std::initializer_list<std::string_view> names) {
    for (auto n : names) (*this)[n].enable();
}
void Screen::disable(std::initializer_list<std::string_view> names) {
    for (auto n : names) (*this)[n].disable();
}

}  // namespace vendral
