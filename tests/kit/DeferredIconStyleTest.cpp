// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/DeferredIconStyle.h"

#include <QImage>
#include <QMenuBar>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <memory>

using kit::DeferredIconStyle;

namespace {

// The Fusion style, counting how often it is asked for each standard icon.
class CountingStyle : public QProxyStyle {
public:
    CountingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        ++asked[which];
        return QProxyStyle::standardIcon(which, option, widget);
    }

    mutable std::map<StandardPixmap, int> asked;
};

QImage Picture(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(DeferredIconStyle, MenuBarReadsItsExtensionIconOnlyWhenDrawn) {
    auto* counting = new CountingStyle;
    DeferredIconStyle style(counting);
    QMenuBar bar;
    bar.setStyle(&style);
    const QIcon icon =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &bar);
    const QIcon copy = icon;
    EXPECT_EQ(counting->asked[QStyle::SP_ToolBarHorizontalExtensionButton], 0);

    EXPECT_FALSE(Picture(icon).isNull());
    EXPECT_FALSE(Picture(copy).isNull());
    EXPECT_EQ(counting->asked[QStyle::SP_ToolBarHorizontalExtensionButton], 1)
        << "copies share what was read";
}

TEST(DeferredIconStyle, IconsLookAsTheBaseStyleDrawsThem) {
    const struct {
        QStyle::StandardPixmap which;
        Qt::LayoutDirection direction;
    } cases[] = {
        {QStyle::SP_ToolBarHorizontalExtensionButton, Qt::LeftToRight},
        {QStyle::SP_ToolBarHorizontalExtensionButton, Qt::RightToLeft},
        {QStyle::SP_ToolBarVerticalExtensionButton, Qt::LeftToRight},
        {QStyle::SP_MessageBoxWarning, Qt::LeftToRight},
    };
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    DeferredIconStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    for (const auto& c : cases) {
        QWidget widget;
        widget.setLayoutDirection(c.direction);
        const QImage expected = Picture(fusion->standardIcon(c.which, nullptr, &widget));
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(Picture(style.standardIcon(c.which, nullptr, &widget)), expected)
            << "icon " << c.which << ", direction " << c.direction;
    }
}
