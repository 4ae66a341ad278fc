// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/FileDrop.h"

#include "kit/AppDefs.h"
#include "kit/MessageEvent.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kit {

namespace {

bool IsThisHost(const QString& host) {
    return host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
}

// A reference to a folder or file is a copy of its name for us, never a move: accepting a move
// could make the file manager delete what was dropped.
bool AcceptAsCopy(QDropEvent* drop) {
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (drop->possibleActions() & action) {
            drop->setDropAction(action);
            drop->accept();
            return true;
        }
    }
    drop->ignore();
    return false;
}

} // namespace

std::vector<EntryRef> DroppedRefs(const QMimeData& data) {
    std::vector<EntryRef> refs;
    for (const QUrl& url : data.urls()) {
        if (url.scheme() != QLatin1String("file") || !IsThisHost(url.host())) {
            continue;
        }
        const QByteArray name =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!name.isEmpty()) {
            refs.push_back(EntryRef{name.toStdString()});
        }
    }
    return refs;
}

FileDropFilter::FileDropFilter(QObject* receiver, QObject* parent)
    : QObject(parent), target(receiver) {}

void FileDropFilter::Watch(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const std::vector<EntryRef> refs = DroppedRefs(*drop->mimeData());
    if (refs.empty()) {
        return false;
    }
    if (AcceptAsCopy(drop) && type == QEvent::Drop && target) {
        Message message(B_SIMPLE_DATA);
        for (const EntryRef& ref : refs) {
            message.Add("refs", ref);
        }
        if (const auto* widget = qobject_cast<QWidget*>(watched)) {
            const QPoint screen = widget->mapToGlobal(drop->position().toPoint());
            message.Add("_drop_point_",
                        Point{static_cast<float>(screen.x()), static_cast<float>(screen.y())});
        }
        PostMessage(target, std::move(message));
    }
    return true;
}

} // namespace kit
