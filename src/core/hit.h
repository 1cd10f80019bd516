// Where the mouse lands on a screen. Every binding lays a screen's controls
// out the same way, and the scripted player decides from this what a click on
// a control reaches, so that a click means the same headless and in a window.
//
// Stacking: the controls lie in table order, each later row above the earlier
// ones, and then the buttons and the text box are raised above every label and
// picture, keeping their table order among themselves (an overlapping label
// never swallows a button's click). Only visible controls count; timers have no
// place. A label with neither a click nor a drop handler, and a picture with no
// click handler that cannot be dragged, let the mouse through to whatever lies
// beneath them.
//
// Geometry is taken on the pixel grid the bindings draw: each edge and extent
// of a control, and the screen's own client area, is rounded from twips with
// pixelsOf(), and a control is cut off at the edge of its screen.
#pragma once

#include <optional>

namespace vendral {

class Control;
class Screen;

// Twips to whole pixels (15 twips to a pixel at 96 dpi), rounded as every
// binding rounds positions and extents.
constexpr int pixelsOf(int twips) { return (twips + 7) / 15; }

// A point of a screen's client area, in twips.
struct ScreenPoint {
    int x = 0, y = 0;
};

// Whether the control takes the mouse, or lets it through to what lies beneath.
bool takesMouse(const Control& c);

// The control that receives the mouse at a point of the screen, or null when
// the click falls on the screen itself.
Control* controlAt(Screen& s, ScreenPoint at);

// Where a click on the control lands: a point of it that no visible control
// lying above it and taking the mouse covers. That is its centre when the
// centre is free, otherwise the free point nearest the centre (of two as
// near, the upper, then the left one). For a control that takes the mouse the
// click then reaches the control itself. A control that lets the mouse
// through is clicked where the player sees it and nothing above it catches
// the click; the click then goes on to whatever receives the mouse there
// (controlAt), perhaps nothing. Empty when no point of it is free, or the
// control is hidden or wholly outside its screen. The point lies on the pixel
// grid: 15 times a whole pixel, which pixelsOf() turns back into that pixel.
std::optional<ScreenPoint> clickPoint(const Control& c);

}  // namespace vendral
