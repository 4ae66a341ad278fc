// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/MessageEvent.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <cstdint>

// The end of an in-place edit: from the editor to the file list with int32 "index" (row) and
// "column", and int64 "editor", the serial of the editor reporting (a report that arrives after
// its editor was closed is told apart by it); from the mouse-down filter to the editor without
// fields.
inline constexpr uint32_t MSG_RENAME_DONE = kit::FourCC("lfcs");

// The small editor the file list lays over a "Save As" or "Track" cell. Typing ":" or "/" has no
// effect (neither can stand in a file name; pasted text loses them too); with AcceptOnlyNum
// only digits can be typed. Enter and Escape end the edit keeping the text, as does losing the
// keyboard focus; the list then stores the text and removes the editor.
class RenameTextView : public QLineEdit, public kit::Handler {
public:
    // `frame` is the cell (of row `row`, column `cell`) in the parent's widget coordinates; the
    // text starts two pixels inside the one-pixel black frame. The end of the edit is reported
    // to `reportTo`.
    RenameTextView(const QRect& frame, const char* name, int32_t row, int32_t cell,
                   QObject* reportTo, QWidget* parent);

    void AcceptOnlyNum(bool onlyDigits) { acceptOnlyNum = onlyDigits; }
    int32_t Index() const { return index; }
    int32_t Column() const { return column; }
    int64_t Serial() const { return serial; }

    // Reports the end of the edit to the target, once per editor.
    void SendModification();
    // The edit has been ended by the list: nothing more is reported.
    void Finish() { modificationSent = true; }
    // Inserts typed text: a line feed, carriage return or Escape alone ends the edit instead; a
    // single non-digit is refused while only digits are accepted.
    void InsertText(const QString& text);
    // Losing the focus while holding it ends the edit first.
    void MakeFocus(bool focused);

    void MessageReceived(kit::Message* message) override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    // Widens the editor to show all of its text, never past the parent's right edge.
    void GrowWithText();

    QPointer<QObject> target;
    int32_t index;
    int32_t column;
    int64_t serial;
    bool acceptOnlyNum = false;
    bool modificationSent = false;
    int cellWidth;
};

// Watches every mouse press of the editor's window while an edit is open: a press anywhere but
// in the editor ends the edit, and the press still reaches what it was meant for.
class MDownFilter : public QObject {
public:
    explicit MDownFilter(RenameTextView* renameView);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<RenameTextView> editor;
};
