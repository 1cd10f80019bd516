#include "core/game.h"

#include <algorithm>
#include <limits>

#include "core/hit.h"
#include <stdexcept>

namespace vendral {

Game::Game(Platform& platform, std::span<const ScreenDef* const> screens)
    : platform_(&platform), defs_(screens) {
    screens_.resize(defs_.size());
}

Game::~Game() = default;

const ScreenDef* Game::findDef(std::string_view name) const {
    for (const ScreenDef* d : defs_)
        if (d->name == name) return d;
    return nullptr;
}

Screen* Game::findLoaded(std::string_view name) const {
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i]->name == name) return screens_[i].get();
    return nullptr;
}

void Game::start() {
    if (defs_.empty()) return;
    show(defs_.front()->name);
    stepDone();
}

void Game::message(const std::string& text) {
    if (ended_) return;
    platform_->messageBox(text);
}

std::optional<std::string> Game::prompt(const std::string& title, const std::string& text) {
    if (ended_) return std::nullopt;
    return platform_->prompt(title, text);
}

Screen& Game::load(std::string_view name) {
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (defs_[i]->name != name) continue;
        if (screens_[i]) return *screens_[i];
        screens_[i] = std::make_unique<Screen>(*this, *defs_[i]);
        Screen& s = *screens_[i];
        loadOrder_.push_back(&s);
        for (Control& c : s.controls())
            if (c.kind() == Kind::Timer) timers_.push_back(&c);
        platform_->screenLoaded(s);
        s.loading = true;
        if (defs_[i]->load) runHandler(defs_[i]->load);
        s.loading = false;
        // Its timers start counting once the load step has finished.
        startTimers(s);
        return s;
    }
    throw std::out_of_range("no screen " + std::string(name));
}

Screen& Game::show(std::string_view name) {
    Screen& s = load(name);
    if (ended_) return s;
    s.visible_ = true;
    platform_->screenChanged(s);
    return s;
}

void Game::hide(std::string_view name) {
    Screen* s = findLoaded(name);
    if (!s || !s->visible_) return;
    s->visible_ = false;
    platform_->screenChanged(*s);
}

Screen& Game::screen(std::string_view name) {
    if (Screen* s = findLoaded(name)) return *s;
    throw std::out_of_range("screen not loaded: " + std::string(name));
}

int Game::roll() {
    if (auto scripted = platform_->scriptedRoll()) return *scripted;
    return random_.digit();
}

void Game::seedRandom() { random_.seed(platform_->randomSeed()); }

void Game::end() {
    if (ended_) return;
    ended_ = true;
    platform_->endProgram();
}

void Game::runHandler(Handler h) {
    ++depth_;
    h(*this);
    --depth_;
    // Whatever the handler changed may wake a timer that had nothing to do.
    platform_->timersChanged();
}

Refusal Game::lookUp(std::string_view screenName, std::string_view control, Control** out) {
    *out = nullptr;
    if (!findDef(screenName)) return Refusal::UnknownScreen;
    Screen* s = findLoaded(screenName);
    if (!s) {
        // Tell an unknown control apart from one on a screen not yet loaded.
        bool known = false;
        for (const ScreenPart* p : findDef(screenName)->parts)
            for (const ControlDef& c : p->controls) known = known || c.name == control;
        return known ? Refusal::NotLoaded : Refusal::UnknownControl;
    }
    Control* c = s->find(control);
    if (!c) return Refusal::UnknownControl;
    *out = c;
    return Refusal::None;
}

Refusal Game::clickable(std::string_view screenName, std::string_view control, Control** out) {
    *out = nullptr;
    if (ended_) return Refusal::Ended;
    Control* c = nullptr;
    if (Refusal r = lookUp(screenName, control, &c); r != Refusal::None) return r;
    if (c->kind() != Kind::Button && c->kind() != Kind::Label && c->kind() != Kind::Image)
        return Refusal::NotClickable;
    if (!c->screen().visible()) return Refusal::ScreenHidden;
    if (!c->visible()) return Refusal::ControlHidden;
    if (!c->enabled()) return Refusal::ControlDisabled;
    if (busy()) return Refusal::Busy;
    *out = c;
    return Refusal::None;
}

Refusal Game::click(std::string_view screenName, std::string_view control) {
    Control* c = nullptr;
    if (Refusal r = clickable(screenName, control, &c); r != Refusal::None) return r;
    const auto at = clickPoint(*c);
    if (!at) return Refusal::Covered;
    // A control that takes the mouse receives the click itself; through one
    // that does not, it reaches what lies beneath. A disabled control under
    // the mouse swallows the click.
    Control* to = takesMouse(*c) ? c : controlAt(c->screen(), *at);
    if (to && to->enabled() && to->onClick) runHandler(to->onClick);
    stepDone();
    return Refusal::None;
}

Refusal Game::press(std::string_view screenName, std::string_view control) {
    Control* c = nullptr;
    if (Refusal r = clickable(screenName, control, &c); r != Refusal::None) return r;
    if (c->onClick) runHandler(c->onClick);
    stepDone();
    return Refusal::None;
}

Refusal Game::type(std::string_view screenName, std::string_view control, std::string text) {
    if (ended_) return Refusal::Ended;
    Control* c = nullptr;
    if (Refusal r = lookUp(screenName, control, &c); r != Refusal::None) return r;
    if (c->kind() != Kind::TextBox) return Refusal::NotTextBox;
    if (!c->screen().visible()) return Refusal::ScreenHidden;
    if (!c->visible()) return Refusal::ControlHidden;
    c->setCaption(std::move(text));
    return Refusal::None;
}

Refusal Game::drag(std::string_view fromScreen, std::string_view image, std::string_view toScreen,
                   std::string_view target) {
    if (ended_) return Refusal::Ended;
    Control* src = nullptr;
    if (Refusal r = lookUp(fromScreen, image, &src); r != Refusal::None) return r;
    if (src->kind() != Kind::Image || !src->def().dragAuto) return Refusal::NotDraggable;
    if (!src->screen().visible()) return Refusal::ScreenHidden;
    if (!src->visible()) return Refusal::ControlHidden;
    Control* dst = nullptr;
    if (Refusal r = lookUp(toScreen, target, &dst); r != Refusal::None) return r;
    if (busy()) return Refusal::Busy;
    // A drop on a hidden target does nothing. Otherwise it lands where a
    // click on the target would land, and only a label with a drop handler
    // receiving the mouse there reacts.
    if (!dst->visible() || !dst->screen().visible()) return Refusal::None;
    const auto at = clickPoint(*dst);
    if (!at) return Refusal::Covered;
    if (Control* to = controlAt(dst->screen(), *at); to && to->kind() == Kind::Label && to->onDrop) {
        ++depth_;
        to->onDrop(*this, *src);
        --depth_;
        platform_->timersChanged();
    }
    stepDone();
    return Refusal::None;
}

void Game::startTimers(Screen& s) {
    const std::int64_t t = now();
    for (Control& c : s.controls())
        if (c.kind() == Kind::Timer && c.running()) c.nextDue = firstDue(c, t);
    platform_->timersChanged();
}

std::int64_t Game::firstDue(const Control& timer, std::int64_t t) const {
    const std::int64_t step = timer.interval() > 0 ? timer.interval() : 1;
    std::int64_t due = t + step;
    // On a real clock, a clock of whole seconds turns as the wall clock's
    // second does: its first interval is cut short to meet that moment, so
    // it shows the true second and every clock on show ticks in one wake-up.
    if (timer.showsTime() && step % 1000 == 0)
        if (const auto wall = platform_->wallClockOffset()) due -= ((due + *wall) % 1000 + 1000) % 1000;
    return due;
}

Control* Game::earliestDue(bool includeIdle) const {
    Control* best = nullptr;
    for (Control* c : timers_) {
        if (!c->running() || c->ticking || !c->onTick || c->screen().loading) continue;
        if (!includeIdle && c->tickIdle && c->tickIdle(*this)) continue;
        if (!best || c->nextDue < best->nextDue) best = c;
    }
    return best;
}

std::optional<std::int64_t> Game::nextDue() const {
    if (ended_) return std::nullopt;
    if (Control* c = earliestDue(false)) return c->nextDue;
    return std::nullopt;
}

void Game::runDueTimers() {
    // Each tick that falls due runs once, in time order; a timer whose handler
    // still waits in a message box is not started again meanwhile.
    while (!ended_) {
        Control* t = earliestDue(false);
        const std::int64_t clock = now();
        if (!t || t->nextDue > clock) break;
        const std::int64_t step = t->interval() > 0 ? t->interval() : 1;
        // A timer that sat idle acts now; the ticks it skipped did nothing.
        // Its next tick comes as if it had started now, so a clock on a real
        // clock keeps turning with the wall clock's second.
        if (t->tickIdle && t->nextDue + step < clock)
            t->nextDue = firstDue(*t, clock);
        else
            t->nextDue += step;
        // A clock that stalled for long does not replay every missed tick.
        if (t->nextDue + 1000 < clock) t->nextDue = firstDue(*t, clock);
        t->ticking = true;
        ++depth_;
        if (t->showsTime()) ++clockTicks_;
        t->onTick(*this);
        if (t->showsTime()) --clockTicks_;
        --depth_;
        t->ticking = false;
        // A run that waited in a message box past its next tick ticks once
        // more when it returns, not once for every interval it missed; the
        // tick after that keeps a clock's phase with the wall clock's second
        // (on a scripted clock: one interval after the return).
        const std::int64_t after = now();
        if (after - clock >= step && t->nextDue < after) t->nextDue = firstDue(*t, after) - step;
        stepDone(t);
    }
    platform_->timersChanged();
}

void Game::stepDone(const Control* tick) {
    if (depth_ == 0 && !ended_) platform_->stepEnded(tick);
}

bool Game::showsClock(const Control& label) const {
    return std::find(clockLabels_.begin(), clockLabels_.end(), &label) != clockLabels_.end();
}

void Game::noteControlChanged(Control& c, bool timerFlagChanged) {
    // What a clock writes is a clock's label from then on.
    if (clockTicks_ > 0 && c.kind() == Kind::Label && !showsClock(c)) clockLabels_.push_back(&c);
    if (timerFlagChanged)
        platform_->timersChanged();
    else
        platform_->controlChanged(c);
}

void Game::noteScreenChanged(Screen& s) { platform_->screenChanged(s); }

}  // namespace vendral
