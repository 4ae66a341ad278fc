// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces the window and its tabs are laid out with.
#pragma once

#include "kit/Layout.h"
#include "kit/MessageEvent.h"

#include <QBoxLayout>
#include <QPushButton>

// A layout without margins: the frames around it give the room.
inline QBoxLayout* Tight(QBoxLayout* layout) {
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

// A fixed space of that size.
inline QWidget* Spacer(float width, float height) {
    return kit::Space({width, height, width, height, 1});
}

// A button that sends its command to `target`, as the window's buttons do.
inline QPushButton* CommandButton(const QString& label, uint32_t command, QObject* target) {
    auto* button = new QPushButton(label);
    QObject::connect(button, &QPushButton::clicked, target,
                     [target, command] { kit::PostMessage(target, kit::Message(command)); });
    return button;
}
