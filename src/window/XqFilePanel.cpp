// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/XqFilePanel.h"

#include "kit/AppDefs.h"
#include "kit/Geometry.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The extra button stands this far left of Cancel and is this much wider than its label.
constexpr float kGapToCancel = 10.0f;
constexpr float kLabelPadding = 15.0f;

kit::EntryRef RefTo(const QString& path) {
    return kit::EntryRef{QFile::encodeName(QDir::cleanPath(path)).toStdString()};
}

} // namespace

XqFilePanel::XqFilePanel(QObject* receiver, const QString& startDirectory, QWidget* parent)
    : QFileDialog(parent), target(receiver) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    // The default button takes folders; files and links are listed too.
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, false);
    setModal(false);
    setDirectory(startDirectory.isEmpty() ? QDir::homePath() : startDirectory);
    for (const char* view : {"listView", "treeView"}) {
        if (auto* list = findChild<QAbstractItemView*>(QLatin1String(view))) {
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        }
    }
    // Every kind of entry is shown, so there is no type to pick; the extra button takes the
    // room left of Cancel instead.
    for (const char* typeWidget : {"fileTypeLabel", "fileTypeCombo"}) {
        if (auto* widget = findChild<QWidget*>(QLatin1String(typeWidget))) {
            widget->hide();
        }
    }
    AddDirButton();
}

void XqFilePanel::AddDirButton() {
    auto* buttons = findChild<QDialogButtonBox*>();
    QPushButton* cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
    if (!cancel) {
        return;
    }
    // Lay the panel out at the size it opens with, so that Cancel stands where it is shown.
    ensurePolished();
    resize(sizeHint());
    layout()->activate();
    buttons->layout()->activate();

    const QString dirLabel = tr("Select Current Directory");
    const kit::Rect cancelFrame =
        kit::FromQRect(QRect(cancel->mapTo(this, QPoint(0, 0)), cancel->size()));
    const auto labelWidth =
        static_cast<float>(QFontMetricsF(cancel->font()).horizontalAdvance(dirLabel));
    const kit::Rect frame(cancelFrame.left - (labelWidth + kLabelPadding + kGapToCancel),
                          cancelFrame.top, cancelFrame.left - kGapToCancel, cancelFrame.bottom);

    // Not in the layout: the button keeps its place from the panel's left and top edges.
    dirButton = new QPushButton(dirLabel, this);
    dirButton->setObjectName(QStringLiteral("DirButton"));
    dirButton->setGeometry(kit::ToQRect(frame));
    connect(dirButton, &QPushButton::clicked, this,
            [this] { kit::PostMessage(this, kit::Message(MSG_SELECT_CURRENT_DIR)); });
    QWidget::setTabOrder(dirButton, cancel);
    // Smaller, the panel would slide Cancel over the button.
    setMinimumSize(size());
}

void XqFilePanel::MessageReceived(kit::Message* message) {
    if (message->what != MSG_SELECT_CURRENT_DIR) {
        return;
    }
    const kit::EntryRef shown = RefTo(directory().absolutePath());
    kit::Message answer(kit::B_REFS_RECEIVED);
    answer.Add("refs", shown);
    answer.Add("directory", shown);
    Answer(answer);
}

void XqFilePanel::accept() {
    kit::Message answer(kit::B_REFS_RECEIVED);
    for (const QString& chosen : selectedFiles()) {
        const QFileInfo entry(chosen);
        if (entry.exists() || entry.isSymLink()) {
            answer.Add("refs", RefTo(entry.absoluteFilePath()));
        }
    }
    if (answer.IsEmpty()) {
        // Nothing named exists: the dialog's own handling tells the user so.
        QFileDialog::accept();
        return;
    }
    Answer(answer);
}

void XqFilePanel::Answer(const kit::Message& answer) {
    done(QDialog::Accepted);
    if (target) {
        kit::PostMessage(target, answer);
    }
}

void XqFilePanel::hideEvent(QHideEvent* event) {
    // The name field's completion list is a window of its own: it goes with the panel rather
    // than float over the main window.
    for (const QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field->completer()) {
            field->completer()->popup()->hide();
        }
    }
    QFileDialog::hideEvent(event);
}

bool XqFilePanel::event(QEvent* event) {
    return kit::DeliverMessageEvent(event, this) || QFileDialog::event(event);
}
