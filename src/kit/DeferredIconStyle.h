// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace kit {

// The desktop's style, except that the icons of the menu bar's and tool bars' extension buttons
// are read when first drawn instead of when the bar is made. Qt reads them through image readers
// that ask every image format plugin whether it knows PNG, which loads all those plugins while the
// main window is built; the buttons show only when a bar is too narrow for its items, so most runs
// never draw them.
class DeferredIconStyle : public QProxyStyle {
public:
    // Over the desktop's style, or over base (which the style then owns).
    DeferredIconStyle() = default;
    explicit DeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;
};

} // namespace kit
