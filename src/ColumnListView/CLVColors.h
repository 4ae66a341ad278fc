// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Color.h"

// The colours the column list draws with: its header cells and scroll corner (bevelled), its
// rows, and the file count beside the scroll bar.
struct CLVColors {
    kit::Color face;         // a bevelled part's face
    kit::Color lightEdge;    // its lit edges
    kit::Color innerShadow;  // its soft inner shade
    kit::Color darkEdge;     // its dark outer edges
    kit::Color inactiveFace; // the scroll corner's face while nothing scrolls
    // A pressed label, a column edge being resized, the outline of a dragged column.
    kit::Color highlight;
    kit::Color label; // a header label's text, and the file count's
    kit::Color background;
    kit::Color selectedBackground;
    kit::Color text;
    kit::Color selectedText;
};

// The list's own colours, as it always looked on a light desktop.
inline constexpr CLVColors kLightCLVColors{
    {216, 216, 216, 255}, {255, 255, 255, 255}, {194, 194, 194, 255}, {152, 152, 152, 255},
    {240, 240, 240, 255}, {0, 0, 229, 255},     {0, 0, 0, 255},       {255, 255, 255, 255},
    {203, 203, 255, 255}, {0, 0, 0, 255},       {0, 0, 0, 255}};

// The colours to draw with now: the list's own while the application's palette is light, the
// palette's (base, text, highlight, button and its shades) where it is dark, as a dark desktop
// theme makes it (its window colour darker than its text). On the GUI thread.
const CLVColors& ListColors();
