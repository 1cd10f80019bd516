// The scripted player in the real window: the same script and transcript as
// the headless player, played on the Qt binding by synthesised mouse clicks,
// typing into the text box, drops onto labels and the real message boxes and
// name prompt, answered through their buttons.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <vector>

#include "replay/replay.h"
#include "screens/screens.h"

namespace vendral {

// A driver for runScript() that plays on real windows. A QApplication must
// exist; the script must run inside its event loop (replayInWindow does both).
// `screens` are the screens of the game, the first shown at start.
std::unique_ptr<ReplayDriver> makeWindowDriver(std::uint64_t seed,
                                               std::span<const ScreenDef* const> screens = allScreens());

// Plays the script through the window under whatever Qt platform is chosen
// (offscreen included) and writes the transcript; returns the exit status
// (0 played through, 2 refused). Makes the QApplication if there is none.
int replayInWindow(int argc, char** argv, const std::vector<ScriptLine>& script, std::uint64_t seed,
                   std::ostream& out, std::span<const ScreenDef* const> screens = allScreens());

}  // namespace vendral
