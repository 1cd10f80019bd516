// What a screen reader is handed as the story goes on, decided once for
// every binding from the screen model, the click rule (core/hit.h) and the
// clock marks of the timers.
//
// After each step of the game (a click, a key press on a button, a drop, a
// timer's tick: Platform::stepEnded) the player hears, after the step's
// message boxes, which every binding already shows:
//
//  1. the captions of the labels that came on show or changed, in reading
//     order: screen by screen in the order they were loaded, and on a screen
//     top to bottom, then left to right, by the labels' current positions
//     (table order between two at the same place);
//  2. when the choices on offer changed, one line naming them:
//     "Choices: Fight with sword, Spells" ("Choices: none" once none is left).
//
// A label is on show when it and its screen are visible, some of it lies
// within the screen and its caption has words. Never told on its own: a
// clock's label ticking (the labels a clock timer writes, Game::showsClock),
// a label moving (the credits rising: each line is told once, when it
// starts), a label wholly out of its screen, and anything unchanged. A
// status label that a timer counts down (the stunned hero bleeding) is told
// only with other news, or at the player's next action.
//
// A choice is a button, or a picture with something to do when clicked,
// that the player can click now: visible and enabled on a visible screen,
// with a point a click can land on (clickPoint). Choices are named by their
// captions, pictures by what they show (pictureWords), in reading order as
// above. Labels that take a click (the clock's "WOW!") are found, not offered.
//
// The repeat key tells the top screen again: its situation line, its status
// labels and the choices on offer (repeatAnnouncement).
#pragma once

#include <string>
#include <vector>

namespace vendral {

class Control;
class Game;
class Screen;

// What to hand a screen reader at one time.
struct Announcement {
    // One caption or one "Choices: …" line each, in the order they are read.
    std::vector<std::string> lines;
    // Where reading starts again, for a binding whose focused control has just
    // been hidden or greyed: the first label told, or else the situation
    // label of the top screen; null when there is none. Never a choice.
    const Control* readFrom = nullptr;

    bool empty() const { return lines.empty(); }
    // The lines joined with line breaks, for a binding that hands over one text.
    std::string text() const;
};

// Watches what is on show between the steps of one game. A binding makes one
// when it makes the Game (before start()), and after every step calls step()
// and hands over what it returns.
class SpokenWatch {
public:
    // What is on show now counts as already told.
    explicit SpokenWatch(const Game& game);

    // What changed since the last step (or since the watch was made); what is
    // on show now then counts as told. `tick` is the timer whose tick the step
    // was (null for the player's own action): a tick whose only news is a
    // status label tells nothing, and the label, held back as last told, is
    // told with the next step that tells anything.
    Announcement step(const Control* tick = nullptr);
    // Count what is on show now as told, without telling it.
    void settle();

private:
    struct Shown {
        const Control* control;
        std::string text;
        bool operator==(const Shown&) const = default;
    };
    static std::vector<Shown> labelsNow(const Game& game);
    static std::vector<Shown> choicesNow(const Game& game);

    const Game* game_;
    std::vector<Shown> labels_;   // the labels on show, in reading order
    std::vector<Shown> choices_;  // the choices on offer and their names
};

// The choices on offer on every visible screen, in reading order.
std::vector<const Control*> choicesOnOffer(const Game& game);
// How a choice is named: its caption, or the words for its picture when it
// has no caption. Surrounding spaces are not read.
std::string choiceName(const Control& c);
// "Choices: A, B, C", or "Choices: none".
std::string choicesLine(const std::vector<const Control*>& choices);

// The top screen: of the visible screens, the one loaded last (a screen
// shown later lies above). Null when none is visible.
const Screen* topScreen(const Game& game);
// Whether the label shows the hero's class, life, magic or money, Flamel's
// life or magic, or the enemy's life.
bool isStatusLabel(const Control& c);
// The label that tells the screen's situation: of its labels on show that
// are not status labels, the largest (by its box); the first in reading
// order of two as large. Null when no such label has words.
const Control* situationLabel(const Screen& s);

// What the repeat key tells: the top screen's situation line, its status
// labels on show in reading order, and the choices on offer (always, so
// "Choices: none" too). readFrom is the situation label.
Announcement repeatAnnouncement(const Game& game);

}  // namespace vendral
