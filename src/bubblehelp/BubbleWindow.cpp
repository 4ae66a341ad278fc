#include "bubblehelp/BubbleWindow.h"

#include <cmath>

namespace {

constexpr float kTextInset = 2.0f;
constexpr int kParkedAt = -1000;

} // namespace

BubbleWindow::BubbleWindow() {
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("bubble"));
    setObjectName(QStringLiteral("bubble"));
    SetViewColor(kBubbleColor);
    move(kParkedAt, kParkedAt);
}

float BubbleWindow::LineHeight() const {
    kit::FontHeight height;
    GetFont().GetHeight(&height);
    return std::ceil(height.ascent + height.descent + height.leading);
}

BubbleSize BubbleWindow::SetText(const QString& newText) {
    text = newText;
    lines.clear();
    std::vector<float> widths;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        lines.push_back(line.toStdString());
        widths.push_back(GetFont().StringWidth(lines.back().c_str()));
    }
    update();
    return BubbleTextSize(widths, LineHeight());
}

void BubbleWindow::ShowAt(const kit::Rect& frame) {
    setGeometry(kit::ToQRect(frame));
    if (isHidden()) {
        show();
    }
}

void BubbleWindow::HideBubble() {
    move(kParkedAt, kParkedAt);
    if (!isHidden()) {
        hide();
    }
}

void BubbleWindow::Draw(kit::Painter& painter, kit::Rect /*updateRect*/) {
    kit::FontHeight height;
    painter.GetFontHeight(&height);
    const float lineHeight = LineHeight();
    painter.SetHighColor(0, 0, 0);
    float baseline = kTextInset + height.ascent;
    for (const std::string& line : lines) {
        painter.DrawString(line.c_str(), {kTextInset, baseline});
        baseline += lineHeight;
    }
}
