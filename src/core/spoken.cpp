#include "core/spoken.h"

#include <algorithm>
#include <string_view>

#include "core/game.h"
#include "core/hit.h"
#include "core/pictures.h"

namespace vendral {

namespace {

// Some of the control lies within its screen, on the pixel grid every
// binding draws (a credits line that has risen off the top does not).
bool withinScreen(const Control& c) {
    const int x0 = pixelsOf(c.left()), y0 = pixelsOf(c.top());
    const int x1 = x0 + pixelsOf(c.def().width), y1 = y0 + pixelsOf(c.def().height);
    const int w = pixelsOf(c.screen().def().width), h = pixelsOf(c.screen().def().height);
    return std::max(x0, 0) < std::min(x1, w) && std::max(y0, 0) < std::min(y1, h);
}

bool hasWords(std::string_view text) { return text.find_first_not_of(" \t\r\n") != std::string_view::npos; }

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A label the player reads: on show, with words, and not a clock's.
bool readable(const Control& c) {
    return c.kind() == Kind::Label && c.visible() && c.screen().visible() && hasWords(c.caption()) &&
           !c.screen().game().showsClock(c) && withinScreen(c);
}

bool isChoice(const Control& c) {
    if (c.kind() != Kind::Button && !(c.kind() == Kind::Image && c.onClick)) return false;
    return c.visible() && c.enabled() && c.screen().visible() && clickPoint(c).has_value();
}

// Top to bottom, then left to right; two at one place in table order (the
// controls of a screen lie in one vector, in table order).
bool readBefore(const Control* a, const Control* b) {
    if (a->top() != b->top()) return a->top() < b->top();
    if (a->left() != b->left()) return a->left() < b->left();
    return a < b;
}

// The screen's controls that pass `keep`, in reading order.
template <typename Keep>
std::vector<const Control*> inReadingOrder(const Screen& s, Keep keep) {
    std::vector<const Control*> found;
    for (const Control& c : s.controls())
        if (keep(c)) found.push_back(&c);
    std::sort(found.begin(), found.end(), readBefore);
    return found;
}

// The status labels of the journey screens and the Final Battle: the hero's
// class (Label1), his life, magic and money, Flamel's, and the enemy's life.
struct StatusRow {
    std::string_view screen;
    std::string_view labels[6];
};
constexpr StatusRow statusRows[] = {
    {"Form1", {"Label1", "lbllife", "lblmagic", "Label3", "lblelife"}},
    {"Form3", {"Label1", "lbllife", "lblmagic", "lblmoney", "lblelife"}},
    {"Form4", {"Label1", "lblmlife", "lblmmagic", "lblflife", "lblfmagic", "lblelife"}},
};

}  // namespace

std::string Announcement::text() const {
    std::string out;
    for (const std::string& line : lines) {
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

bool isStatusLabel(const Control& c) {
    if (c.kind() != Kind::Label) return false;
    for (const StatusRow& row : statusRows) {
        if (row.screen != c.screen().name()) continue;
        for (std::string_view name : row.labels)
            if (!name.empty() && name == c.name()) return true;
    }
    return false;
}

const Screen* topScreen(const Game& game) {
    const Screen* top = nullptr;
    for (const Screen* s : game.loadedScreens())
        if (s->visible()) top = s;
    return top;
}

const Control* situationLabel(const Screen& s) {
    const Control* best = nullptr;
    long long bestArea = -1;
    for (const Control* c : inReadingOrder(s, [](const Control& c) { return readable(c) && !isStatusLabel(c); })) {
        const long long area = static_cast<long long>(c->def().width) * c->def().height;
        if (area > bestArea) {
            best = c;
            bestArea = area;
        }
    }
    return best;
}

std::string choiceName(const Control& c) {
    if (c.kind() != Kind::Image && hasWords(c.caption())) return std::string(trimmed(c.caption()));
    if (!c.picture().empty()) return std::string(trimmed(pictureWordsOf(c)));
    return c.kind() == Kind::Image ? "a picture" : "a button without words";
}

std::vector<const Control*> choicesOnOffer(const Game& game) {
    std::vector<const Control*> all;
    for (const Screen* s : game.loadedScreens()) {
        if (!s->visible()) continue;
        const auto found = inReadingOrder(*s, isChoice);
        all.insert(all.end(), found.begin(), found.end());
    }
    return all;
}

std::string choicesLine(const std::vector<const Control*>& choices) {
    if (choices.empty()) return "Choices: none";
    std::string line = "Choices: ";
    for (std::size_t i = 0; i < choices.size(); ++i) line += (i ? ", " : "") + choiceName(*choices[i]);
    return line;
}

Announcement repeatAnnouncement(const Game& game) {
    Announcement a;
    if (const Screen* s = topScreen(game)) {
        a.readFrom = situationLabel(*s);
        if (a.readFrom) a.lines.push_back(a.readFrom->caption());
        for (const Control* c : inReadingOrder(*s, [](const Control& c) { return readable(c) && isStatusLabel(c); }))
            a.lines.push_back(c->caption());
    }
    a.lines.push_back(choicesLine(choicesOnOffer(game)));
    return a;
}

SpokenWatch::SpokenWatch(const Game& game) : game_(&game) { settle(); }

std::vector<SpokenWatch::Shown> SpokenWatch::labelsNow(const Game& game) {
    std::vector<Shown> shown;
    for (const Screen* s : game.loadedScreens()) {
        if (!s->visible()) continue;
        for (const Control* c : inReadingOrder(*s, readable)) shown.push_back({c, c->caption()});
    }
    return shown;
}

std::vector<SpokenWatch::Shown> SpokenWatch::choicesNow(const Game& game) {
    std::vector<Shown> shown;
    for (const Control* c : choicesOnOffer(game)) shown.push_back({c, choiceName(*c)});
    return shown;
}

void SpokenWatch::settle() {
    labels_ = labelsNow(*game_);
    choices_ = choicesNow(*game_);
}

Announcement SpokenWatch::step(const Control* tick) {
    Announcement a;
    std::vector<Shown> labels = labelsNow(*game_);
    std::vector<Shown> told;  // the labels to tell, in reading order
    for (const Shown& now : labels) {
        const auto before = std::find_if(labels_.begin(), labels_.end(),
                                         [&](const Shown& was) { return was.control == now.control; });
        // A label told before and unchanged since (moved or not) is not told again.
        if (before == labels_.end() || before->text != now.text) told.push_back(now);
    }
    std::vector<Shown> choices = choicesNow(*game_);
    const bool choicesChanged = choices != choices_;
    // A timer that only counts a status down (the stunned hero bleeding a
    // life a second) merely ticks: the status is held back, as last told,
    // and told with the next step that brings anything else.
    const bool onlyStatus = std::all_of(told.begin(), told.end(), [](const Shown& t) { return isStatusLabel(*t.control); });
    if (tick && !choicesChanged && onlyStatus) {
        std::vector<Shown> kept;
        for (const Shown& now : labels) {
            const auto before = std::find_if(labels_.begin(), labels_.end(),
                                             [&](const Shown& was) { return was.control == now.control; });
            if (before != labels_.end())
                kept.push_back(*before);
            else if (!isStatusLabel(*now.control))
                kept.push_back(now);
        }
        labels_ = std::move(kept);
        return a;
    }
    for (const Shown& t : told) {
        if (!a.readFrom) a.readFrom = t.control;
        a.lines.push_back(t.text);
    }
    if (choicesChanged) {
        std::vector<const Control*> offered;
        for (const Shown& c : choices) offered.push_back(c.control);
        a.lines.push_back(choicesLine(offered));
    }
    if (!a.readFrom)
        if (const Screen* s = topScreen(*game_)) a.readFrom = situationLabel(*s);
    labels_ = std::move(labels);
    choices_ = std::move(choices);
    return a;
}

}  // namespace vendral
