#include "screens/screens.h"

#include <array>

namespace vendral {

std::span<const ScreenDef* const> allScreens() {
    static const std::array<const ScreenDef*, 6> screens{&form1::screen, &form2::screen, &form3::screen,
                                                         &form4::screen, &form5::screen, &form6::screen};
    return screens;
}

}  // namespace vendral
