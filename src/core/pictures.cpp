#include "core/pictures.h"

namespace vendral {

std::string_view pictureWords(std::string_view picture) {
    struct Phrase {
        std::string_view picture;
        std::string_view words;
    };
    static constexpr Phrase phrases[] = {
        {"wizard", "the Master Wizard"},
        {"knight", "the Master of Knights"},
        {"disc", "the disc"},
        {"start", "a green arrow on a shield"},
        {"quit", "a door with an arrow"},
        {"stormer", "Stormer the Dragon"},
        {"cup", "a cup"},
        {"shadow", "a dark shadow"},
        {"nilrem", "Nilrem"},
        {"lightning", "a bolt of lightning"},
        {"arrows", "a bow and arrows"},
        {"flames", "a burst of flames"},
        {"sword", "a sword"},
        {"sword_gladonthard", "the sword Gladonthard"},
        {"sword_uthler", "the sword Uthler"},
        {"sword_valrath", "the sword Valrath"},
        {"supreme_wizard", "the Supreme Wizard"},
        {"icon", "the Vendral shield"},
    };
    for (const Phrase& p : phrases)
        if (p.picture == picture) return p.words;
    return picture;
}

}  // namespace vendral
