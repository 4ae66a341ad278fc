// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/RenameTextView.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QValidator>

namespace {

bool IsRefusedInName(QChar c) {
    return c == u':' || c == u'/';
}

// Keeps ":" and "/" out of pasted and dropped text as well as typed text.
class NameCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            if (IsRefusedInName(input[i])) {
                input.remove(i, 1);
                if (i < position) {
                    --position;
                }
            }
        }
        return Acceptable;
    }
};

constexpr int kTextInset = 2;

int64_t NextSerial() {
    static int64_t last = 0;
    return ++last;
}

} // namespace

RenameTextView::RenameTextView(const QRect& frame, const char* name, int32_t row, int32_t cell,
                               QObject* reportTo, QWidget* parent)
    : QLineEdit(parent), target(reportTo), index(row), column(cell), serial(NextSerial()),
      cellWidth(frame.width()) {
    setObjectName(QString::fromUtf8(name));
    setFrame(false);
    setTextMargins(kTextInset - 1, 0, kTextInset - 1, 0);
    setValidator(new NameCharacters(this));
    setGeometry(frame);
    connect(this, &QLineEdit::textChanged, this, [this] { GrowWithText(); });
}

void RenameTextView::SendModification() {
    if (modificationSent || !target) {
        return;
    }
    modificationSent = true;
    kit::Message done(MSG_RENAME_DONE);
    done.Add<int32_t>("index", index);
    done.Add<int32_t>("column", column);
    done.Add<int64_t>("editor", serial);
    kit::PostMessage(target, std::move(done));
}

void RenameTextView::InsertText(const QString& text) {
    if (text.size() == 1) {
        const QChar c = text.front();
        if (c == u'\n' || c == u'\r' || c == QChar(27)) {
            SendModification();
            return;
        }
        if ((acceptOnlyNum && !c.isDigit()) || IsRefusedInName(c)) {
            return;
        }
    }
    insert(text);
}

void RenameTextView::MakeFocus(bool focused) {
    if (!focused && hasFocus()) {
        SendModification();
    }
    if (focused) {
        setFocus(Qt::OtherFocusReason);
    } else {
        clearFocus();
    }
}

void RenameTextView::MessageReceived(kit::Message* message) {
    if (message->what == MSG_RENAME_DONE) {
        MakeFocus(false);
    }
}

bool RenameTextView::event(QEvent* e) {
    return kit::DeliverMessageEvent(e, this) || QLineEdit::event(e);
}

void RenameTextView::keyPressEvent(QKeyEvent* e) {
    // Enter and Escape arrive as keys; typed characters go through the insertion hook. Editing
    // and moving keys (and shortcuts such as paste) are the line edit's own.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        SendModification();
        return;
    default:
        break;
    }
    const QString typed = e->text();
    const bool printable = !typed.isEmpty() && typed.front().isPrint() &&
                           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
        InsertText(typed);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void RenameTextView::focusOutEvent(QFocusEvent* e) {
    // A pop-up menu (the editor's own context menu) or another window taking the activation
    // leaves the editor the focus of its window: the edit goes on.
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason) {
        SendModification();
    }
    QLineEdit::focusOutEvent(e);
}

void RenameTextView::paintEvent(QPaintEvent* e) {
    QLineEdit::paintEvent(e);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void RenameTextView::GrowWithText() {
    const int needed = fontMetrics().horizontalAdvance(text()) + 4 * kTextInset + 2;
    int wanted = std::max(cellWidth, needed);
    if (parentWidget()) {
        wanted = std::min(wanted, std::max(cellWidth, parentWidget()->width() - x()));
    }
    if (wanted != width()) {
        resize(wanted, height());
    }
}

MDownFilter::MDownFilter(RenameTextView* renameView) : editor(renameView) {}

bool MDownFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && editor) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == editor->window() && widget != editor &&
            !editor->isAncestorOf(widget)) {
            kit::PostMessage(editor, kit::Message(MSG_RENAME_DONE));
        }
    }
    return false;
}
