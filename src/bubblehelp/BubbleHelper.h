// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bubblehelp/BubbleDesktop.h"
#include "bubblehelp/BubbleWindow.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

// Bubble help: when the pointer rests for about 0.7 s, with no button down, over a widget that
// has a help text (or inside one that has), a small pale-yellow bubble with the text opens just
// below the pointer. It closes when the pointer moves, a button is pressed, or after a tenth of
// a second per byte of text (at least 2.1 s), and does not come back until the pointer moves.
//
// The pointer is polled ten times a second on the GUI thread, so no widget has to cooperate;
// the polls rest while the pointer is over none of the application's windows or the help is off.
// One instance serves the application; a second one is a programming error and does nothing.
class BubbleHelper : public QObject {
    Q_OBJECT

public:
    // Reads the given desktop, or the real one when none is given.
    explicit BubbleHelper(QObject* owner = nullptr, std::unique_ptr<BubbleDesktop> desktop = {});
    ~BubbleHelper() override;
    BubbleHelper(const BubbleHelper&) = delete;
    BubbleHelper& operator=(const BubbleHelper&) = delete;

    // Gives the widget its help text, replacing the one it had; a null or empty text removes
    // it. A null widget is ignored. The widget is not owned.
    void SetHelp(QWidget* view, const QString& text);
    // The help for a point of the widget, in its own coordinates; empty where it has none.
    using HelpProvider = std::function<QString(QPoint where)>;
    // Lets the widget answer for the point under the pointer, before its own text is looked at:
    // one widget can give each of its parts a help of its own (the cells of a list). A null
    // provider removes it. The widget is not owned.
    void SetHelpProvider(QWidget* view, HelpProvider provider);

    // The widget's own help text; null when it has none.
    QString GetHelp(const QWidget* view) const;
    // The help of the widget or of its nearest ancestor in its window that has one: at each,
    // its provider's answer for the screen point `at` when it gives one, else its own text.
    QString FindHelp(const QWidget* view, std::optional<QPoint> at = std::nullopt) const;
    // Turns the bubbles on or off (on after construction); turning them off closes an open one.
    void EnableHelp(bool enable);

    // The bubble window; null in an instance that is not the application's one.
    BubbleWindow* Bubble() const { return textWindow.get(); }

private:
    enum class State { Watching, Showing, WaitingForMove };

    struct HelpEntry {
        QPointer<QWidget> view;
        QString text;
    };
    struct ProviderEntry {
        QPointer<QWidget> view;
        HelpProvider provider;
    };
    // The provider's answer for a screen point; empty when the widget has none.
    QString ProvidedHelp(const QWidget* view, QPoint at) const;

    void Poll();
    void Watch(QPoint where, bool buttonsDown);
    void Show(const QString& text, QPoint where);
    void Close();

    // Only one instance is live; the count also covers the refused ones.
    static std::atomic<int> instances;

    std::vector<HelpEntry> helpList;
    std::vector<ProviderEntry> providers;
    std::unique_ptr<BubbleDesktop> desktop;
    std::unique_ptr<BubbleWindow> textWindow;
    bool enabled = false;

    State state = State::Watching;
    // Polls in a row that found the pointer where it was, with no button down.
    int restCount = 0;
    // Polls left before an open bubble closes.
    int ticksLeft = 0;
    QPoint lastPosition;
    QPoint triggerPosition;
};
