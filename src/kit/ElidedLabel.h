// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line label for texts of any length (status lines): it never asks the window for more width
// than its minimum, and a text wider than the label is shown cut with "…", whole in its tooltip
// and its accessible description.
#pragma once

#include <QLabel>

namespace kit {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(const QString& text, int minimumWidth, QWidget* parent = nullptr);

    // Takes the place of QLabel::setText (called through this type): text() stays the whole text.
    void setText(const QString& text);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The tooltip and accessible description hold the whole text only while it is cut.
    void DescribeWholeText();

    int minimumWidth;
};

} // namespace kit
