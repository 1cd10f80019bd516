#include "core/refusal.h"

namespace vendral {

namespace {

constexpr RefusalWords table[] = {
    {Refusal::UnknownScreen, "unknown-screen", "no such screen"},
    {Refusal::UnknownControl, "unknown-control", "no such control"},
    {Refusal::NotLoaded, "not-loaded", "the screen is not loaded"},
    {Refusal::ScreenHidden, "screen-hidden", "the screen is hidden"},
    {Refusal::ControlHidden, "control-hidden", "the control is hidden"},
    {Refusal::ControlDisabled, "control-disabled", "the control is disabled"},
    {Refusal::NotClickable, "not-clickable", "the control takes no clicks"},
    {Refusal::NotTextBox, "not-text-box", "the control is not a text box"},
    {Refusal::NotDraggable, "not-draggable", "the control is not a draggable image"},
    {Refusal::Busy, "busy", "a message box is open"},
    {Refusal::Ended, "ended", "the game has ended"},
    {Refusal::Covered, "covered", "no point of the control can be clicked"},
};

const RefusalWords* find(Refusal r) {
    for (const RefusalWords& w : table)
        if (w.refusal == r) return &w;
    return nullptr;
}

}  // namespace

std::span<const RefusalWords> refusals() { return table; }

std::string_view refusalText(Refusal r) {
    const RefusalWords* w = find(r);
    return w ? w->text : std::string_view();
}

std::string_view refusalKey(Refusal r) {
    const RefusalWords* w = find(r);
    return w ? w->key : std::string_view();
}

}  // namespace vendral
