// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/View.h"

#include <cstdint>
#include <string>

// The small bevelled label beside the file list's horizontal scroll bar that tells how many
// files the list holds ("0 Files", "1 File", "2 Files").
class SmallView : public kit::View {
public:
    SmallView(kit::Rect frame, const char* name, QWidget* parent = nullptr);

    // Takes the plain font and shows "0 Files"; called once it is placed.
    void Init();
    // Shows the number with " File" after 1 and " Files" after any other number. Where the text
    // (a longer word of another language, a large number) does not fit the width it was made
    // with, the view widens beside the scroll bar as far as the text needs.
    void SetText(long n);

    int32_t Count() const { return count; }
    const std::string& Text() const { return text; }

protected:
    void Draw(kit::Painter& painter, kit::Rect updateRect) override;

private:
    int minimumWidth;
    int32_t count = 0;
    int32_t textLength = 0;
    std::string text;
};
