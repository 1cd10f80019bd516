// Why a player's action could not be carried out, with the words every
// binding shows for it and a short key the web page's test interface files
// each under. All of them are written once, in refusal.cpp.
#pragma once

#include <span>
#include <string_view>

namespace vendral {

enum class Refusal {
    None,
    UnknownScreen,
    UnknownControl,
    NotLoaded,
    ScreenHidden,
    ControlHidden,
    ControlDisabled,
    NotClickable,
    NotTextBox,
    NotDraggable,
    Busy,     // a handler is still waiting in a message box
    Ended,    // the game is over
    Covered,  // controls lying above it leave no point of it to click
};

struct RefusalWords {
    Refusal refusal;
    std::string_view key;   // "unknown-screen"
    std::string_view text;  // "no such screen"
};

// Every refusal but None, in the order of the enum.
std::span<const RefusalWords> refusals();

// The refusal's text, empty for None.
std::string_view refusalText(Refusal r);
// The refusal's key, empty for None.
std::string_view refusalKey(Refusal r);

}  // namespace vendral
