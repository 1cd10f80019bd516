// Every screen of the game, Form1 first.
#pragma once

#include <span>

#include "core/screen.h"

namespace vendral {

std::span<const ScreenDef* const> allScreens();

namespace form1 { extern const ScreenDef screen; }
namespace form2 { extern const ScreenDef screen; }
namespace form3 { extern const ScreenDef screen; }
namespace form4 { extern const ScreenDef screen; }
namespace form5 { extern const ScreenDef screen; }
namespace form6 { extern const ScreenDef screen; }

}  // namespace vendral
