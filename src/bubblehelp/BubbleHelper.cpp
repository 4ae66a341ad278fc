// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleHelper.h"

#include <QWidget>
#include <QtGlobal>
#include <algorithm>

std::atomic<int> BubbleHelper::instances{0};

namespace {

// The bubble is due on the seventh poll in a row that finds the pointer resting.
constexpr int kRestingPolls = 6;

} // namespace

BubbleHelper::BubbleHelper(QObject* owner, std::unique_ptr<BubbleDesktop> ownDesktop)
    : QObject(owner), desktop(std::move(ownDesktop)) {
    setObjectName(QStringLiteral("BubbleHelper"));
    if (instances.fetch_add(1) != 0) {
        qCritical("only one BubbleHelper instance allowed/necessary");
        return;
    }
    if (!desktop) {
        desktop = std::make_unique<BubbleDesktop>();
    }
    textWindow = std::make_unique<BubbleWindow>();
    enabled = true;
    desktop->StartTicking([this] { Poll(); });
}

BubbleHelper::~BubbleHelper() {
    // The ticks stop before the bubble goes.
    desktop.reset();
    textWindow.reset();
    instances.fetch_sub(1);
}

void BubbleHelper::SetHelp(QWidget* view, const QString& text) {
    if (!view) {
        return;
    }
    // Screen readers tell the help as the control's description; a description set by someone
    // else is left alone when the help goes.
    if (view->accessibleDescription() == GetHelp(view)) {
        view->setAccessibleDescription(text);
    }
    std::erase_if(helpList, [view](const HelpEntry& entry) {
        return entry.view.isNull() || entry.view == view;
    });
    if (!text.isEmpty()) {
        helpList.push_back({view, text});
    }
}

void BubbleHelper::SetHelpProvider(QWidget* view, HelpProvider provider) {
    if (!view) {
        return;
    }
    std::erase_if(providers, [view](const ProviderEntry& entry) {
        return entry.view.isNull() || entry.view == view;
    });
    if (provider) {
        providers.push_back({view, std::move(provider)});
    }
}

QString BubbleHelper::ProvidedHelp(const QWidget* view, QPoint at) const {
    const auto found =
        std::find_if(providers.begin(), providers.end(),
                     [view](const ProviderEntry& entry) { return entry.view == view; });
    return found == providers.end() ? QString() : found->provider(view->mapFromGlobal(at));
}

QString BubbleHelper::GetHelp(const QWidget* view) const {
    const auto found = std::find_if(helpList.begin(), helpList.end(),
                                    [view](const HelpEntry& e) { return view && e.view == view; });
    return found == helpList.end() ? QString() : found->text;
}

QString BubbleHelper::FindHelp(const QWidget* view, std::optional<QPoint> at) const {
    for (const QWidget* w = view; w; w = w->parentWidget()) {
        if (at) {
            if (QString provided = ProvidedHelp(w, *at); !provided.isEmpty()) {
                return provided;
            }
        }
        QString text = GetHelp(w);
        if (!text.isNull() || w->isWindow()) {
            return text;
        }
    }
    return {};
}

void BubbleHelper::EnableHelp(bool enable) {
    if (!textWindow) {
        return;
    }
    enabled = enable;
    if (!enabled) {
        textWindow->HideBubble();
        state = State::Watching;
        restCount = 0;
    }
}

void BubbleHelper::Poll() {
    if (!enabled) {
        desktop->PauseTicking();
        return;
    }
    const QPoint where = desktop->PointerPosition();
    const bool buttonsDown = desktop->ButtonsDown();
    switch (state) {
    case State::Watching:
        Watch(where, buttonsDown);
        break;
    case State::Showing:
        if (buttonsDown || where != triggerPosition || --ticksLeft <= 0) {
            Close();
        }
        break;
    case State::WaitingForMove:
        // The same bubble does not come back while the pointer stays where it opened; once it
        // has moved, a new rest begins.
        if (where != triggerPosition) {
            state = State::Watching;
            Watch(where, buttonsDown);
        }
        break;
    }
    // With the pointer over none of the application's windows there is nothing to watch until
    // it comes back; an open bubble still counts down to closing.
    if (state != State::Showing && !desktop->WidgetAt(where)) {
        desktop->PauseTicking();
    }
}

void BubbleHelper::Watch(QPoint where, bool buttonsDown) {
    if (where != lastPosition || buttonsDown) {
        lastPosition = where;
        restCount = 0;
        return;
    }
    if (restCount++ < kRestingPolls) {
        return;
    }
    restCount = 0;
    QWidget* view = desktop->WidgetAt(where);
    if (view && view->window() == textWindow.get()) {
        view = nullptr;
    }
    const QString text = FindHelp(view, where);
    if (!text.isEmpty()) {
        Show(text, where);
    }
}

void BubbleHelper::Show(const QString& text, QPoint where) {
    const BubbleSize size = textWindow->SetText(text);
    const kit::Point pointer(static_cast<float>(where.x()), static_cast<float>(where.y()));
    textWindow->ShowAt(BubbleFrame(pointer, size, kit::FromQRect(desktop->ScreenFrame(where))));
    triggerPosition = where;
    ticksLeft = BubbleTicks(static_cast<std::size_t>(text.toUtf8().size()));
    state = State::Showing;
}

void BubbleHelper::Close() {
    textWindow->HideBubble();
    state = State::WaitingForMove;
}
