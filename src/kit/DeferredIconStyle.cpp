// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/DeferredIconStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>
#include <memory>
#include <optional>

namespace kit {
namespace {

// An icon engine that asks a style for one of its standard icons the first time the icon is
// looked at, and from then on answers with that icon. Copies share what was read.
class DeferredStandardIcon : public QIconEngine {
public:
    // The style is asked later as it would have been asked now: with the same option (whose
    // common part is all a standard icon depends on) and widget, while that widget lives.
    DeferredStandardIcon(const QStyle* style, QStyle::StandardPixmap which,
                         const QStyleOption* option, const QWidget* widget)
        : source(std::make_shared<Source>()) {
        source->style = style;
        source->which = which;
        if (option) {
            source->option = *option;
        }
        source->widget = widget;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    bool isNull() override { return Icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredStandardIcon"); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }

private:
    struct Source {
        QPointer<const QStyle> style;
        QStyle::StandardPixmap which = QStyle::SP_CustomBase;
        std::optional<QStyleOption> option;
        QPointer<const QWidget> widget;
        QIcon icon;
        bool read = false;
    };

    const QIcon& Icon() {
        if (!source->read) {
            // The style that was asked may be gone by now; the application's takes its place.
            const QStyle* style = source->style ? source->style.data() : QApplication::style();
            source->icon = style->standardIcon(
                source->which, source->option ? &*source->option : nullptr, source->widget);
            source->read = true;
        }
        return source->icon;
    }

    std::shared_ptr<Source> source;
};

} // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (standardIcon != SP_ToolBarHorizontalExtensionButton &&
        standardIcon != SP_ToolBarVerticalExtensionButton) {
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    return QIcon(new DeferredStandardIcon(baseStyle(), standardIcon, option, widget));
}

} // namespace kit
