#include "core/pictures.h"

#include "core/hit.h"
#include "core/screen.h"

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

std::string pictureWordsOf(const Control& c) {
    std::string words(pictureWords(c.picture()));
    // A stretched picture is drawn at its box's size, so its size is seen.
    if (c.picture().empty() || !c.def().stretch) return words;
    int sharing = 0;
    for (const Control& other : c.screen().controls())
        if (other.kind() == Kind::Image && other.def().stretch && other.picture() == c.picture()) ++sharing;
    if (sharing < 2) return words;
    return words + " " + std::to_string(pixelsOf(c.def().width)) + " wide by " +
           std::to_string(pixelsOf(c.def().height)) + " high";
}

}  // namespace vendral
