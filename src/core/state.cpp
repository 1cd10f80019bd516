#include "core/state.h"

namespace vendral {

std::vector<std::pair<std::string, std::string>> GameState::dump() const {
    return {
        {"life", life.str()},
        {"magic", magic.str()},
        {"money", money.str()},
        {"lifepotion", lifepotion.str()},
        {"magicpotion", magicpotion.str()},
        {"refillpotion", refillpotion.str()},
        {"enemylife", enemylife.str()},
        {"upgradechoice", upgradechoice.str()},
        {"lifepotions", lifepotions.str()},
        {"magicpotions", magicpotions.str()},
        {"refillpotions", refillpotions.str()},
        {"playername", playername},
        {"curechoice", curechoice.str()},
        {"curetries", curetries.str()},
        {"heroclass", heroclass},
        {"invisible", invisible.str()},
        {"revives", revives.str()},
        {"flamellife", flamellife.str()},
        {"flamelmagic", flamelmagic.str()},
        {"battleroll", battleroll.str()},
        {"stun", stun.str()},
        {"jumpcode", jumpcode},
    };
}

std::string stateLines(const GameState& state) {
    std::string out;
    for (const auto& [name, value] : state.dump()) out += "state " + name + "=" + value + "\n";
    return out;
}

}  // namespace vendral
