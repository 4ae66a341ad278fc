// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/ListItem.h"

#include "kit/View.h"

#include <cmath>

namespace kit {

ListItem::ListItem(uint32_t outlineLevel, bool expanded)
    : level(outlineLevel), expandedState(expanded) {}

void ListItem::Update(View* owner, const Font& font) {
    SetWidth(owner->Bounds().Width());
    SetHeight(LineHeight(font));
}

float ListItem::LineHeight(const Font& font) {
    FontHeight h;
    font.GetHeight(&h);
    return std::ceil(h.ascent + h.descent + h.leading);
}

} // namespace kit
