// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Message.h"

#include <QObject>
#include <QPointer>
#include <vector>

class QMimeData;
class QWidget;

namespace kit {

// The local files a drag carries as file:// URLs (the text/uri-list that Linux file managers
// send), in order. Each name keeps the bytes its URL percent-encodes, so names that are not
// UTF-8 survive; URLs of other schemes or of other hosts are left out.
std::vector<EntryRef> DroppedRefs(const QMimeData& data);

// Turns drops of files on the widgets it watches into B_SIMPLE_DATA messages with one "refs"
// entry per file and the point of the drop in screen coordinates as "_drop_point_", posted to a
// handler. Drags that carry no files are left to the widget, so a
// text field still takes dropped text.
class FileDropFilter : public QObject {
public:
    // `receiver` gets the messages; it needs a Handler's event() (see DeliverMessageEvent).
    FileDropFilter(QObject* receiver, QObject* parent);

    // Lets the widget take drops and hands its file drops to the receiver.
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> target;
};

} // namespace kit
