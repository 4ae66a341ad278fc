// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bubblehelp/BubbleGeometry.h"
#include "kit/View.h"

#include <QString>
#include <string>
#include <vector>

// The bubble: a borderless pale-yellow window that floats above the others, never takes the
// focus and shows a text of one or more lines in black, 2 pixels in from its edges.
class BubbleWindow : public kit::View {
public:
    BubbleWindow();

    static constexpr kit::Color kBubbleColor{240, 240, 100, 255};

    // Takes the text, one line per '\n', and returns the room its lines need.
    BubbleSize SetText(const QString& text);
    const QString& Text() const { return text; }

    // Puts the bubble at the frame, in screen coordinates with edges included, and shows it.
    void ShowAt(const kit::Rect& frame);
    // Hides the bubble and parks it off the screen.
    void HideBubble();

protected:
    void Draw(kit::Painter& painter, kit::Rect updateRect) override;

private:
    float LineHeight() const;

    QString text;
    std::vector<std::string> lines;
};
