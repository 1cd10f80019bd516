#include "core/rules.h"

#include "core/game.h"

namespace vendral {

std::string withValue(std::string_view prefix, const Num& value) { return std::string(prefix) + value.str(); }

void writeLife(Game& g, Screen& s) { s["lbllife"].setCaption(withValue("Life:", g.state.life)); }
void writeMagic(Game& g, Screen& s) { s["lblmagic"].setCaption(withValue("Magic:", g.state.magic)); }
void writeEnemyLife(Game& g, Screen& s) { s["lblelife"].setCaption(withValue("Life left:", g.state.enemylife)); }

bool zeroTestHit(Game& g, Screen& s, std::int64_t damage) {
    g.state.life -= damage;
    writeLife(g, s);
    return g.state.life == 0;
}

bool guardedHit(Game& g, Screen& s, std::int64_t damage) {
    if (g.state.life <= damage) return true;
    g.state.life -= damage;
    writeLife(g, s);
    return false;
}

bool zeroTestSpend(Game& g, Screen& s, std::int64_t cost) {
    g.state.magic -= cost;
    writeMagic(g, s);
    return g.state.magic == 0;
}

bool guardedSpend(Game& g, Screen& s, std::int64_t limit, std::int64_t cost) {
    if (g.state.magic <= limit) return true;
    g.state.magic -= cost;
    writeMagic(g, s);
    return false;
}

}  // namespace vendral
