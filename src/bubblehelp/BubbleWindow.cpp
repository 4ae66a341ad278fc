// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <cmath>

namespace {

constexpr float kTextInset = 2.0f;
constexpr int kParkedAt = -1000;

// What screen readers find: a tooltip whose name is the text shown.
class AccessibleBubble : public QAccessibleWidget {
public:
    explicit AccessibleBubble(BubbleWindow* bubble)
        : QAccessibleWidget(bubble, QAccessible::ToolTip) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<const BubbleWindow*>(widget())->Text()
                                         : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* MakeAccessibleBubble(const QString& /*className*/, QObject* object) {
    auto* bubble = dynamic_cast<BubbleWindow*>(object);
    return bubble ? new AccessibleBubble(bubble) : nullptr;
}

} // namespace

BubbleWindow::BubbleWindow() {
    static const bool accessible = [] {
        QAccessible::installFactory(MakeAccessibleBubble);
        return true;
    }();
    (void)accessible;
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
    if (QAccessible::isActive()) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
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
