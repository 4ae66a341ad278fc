// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small building blocks that let a window's widget tree be written group by group: labelled
// controls whose labels can share one width, size hints as minimum/maximum sizes and stretch,
// frames, spacers, and a progress bar that takes a fraction.

#include "kit/Minimax.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <QValidator>
#include <QWidget>
#include <initializer_list>

class QBoxLayout;
class QLayout;

namespace kit {

// Adds the widget to a box layout with the hint applied and its weight as stretch.
void AddWithHint(QBoxLayout* group, QWidget* widget, const Minimax& hint);

// A label followed by its field. The label is the field's buddy and the field's accessible name,
// so screen readers and automation tools find the field by its label.
class LabeledControl : public QWidget {
public:
    QLabel* Label() const { return label; }
    QWidget* Field() const { return field; }

protected:
    LabeledControl(const QString& labelText, QWidget* fieldWidget, QWidget* parent);

private:
    QLabel* label;
    QWidget* field;
};

// Gives every control of the set the same label width, the widest of their labels.
void DivideSame(std::initializer_list<LabeledControl*> controls);

// A pop-up whose items are commands rather than values: it reports `activated` only for an item
// chosen in its open menu (clicked, or Enter on it). The wheel and the keys that would step
// through the items of the closed pop-up do nothing there; Space, F4 and Alt+Down open it.
class CommandMenu : public QComboBox {
protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A labelled pop-up menu whose marked item may also be none.
class PopUp : public LabeledControl {
public:
    PopUp(const QString& labelText, const QStringList& items, QWidget* parent = nullptr);
    // A pop-up on a menu made elsewhere, such as a CommandMenu; it takes the menu over.
    PopUp(QComboBox* menuWidget, const QString& labelText, QWidget* parent = nullptr);

    QComboBox* Menu() const { return menu; }
    // The marked item's label; empty when no item is marked.
    QString MarkedLabel() const;
    int MarkedIndex() const { return menu->currentIndex(); }
    // Marks the item at the index; -1 (or any index without an item) marks none.
    void MarkItem(int index);
    // Marks the first item with exactly that label; none when no label matches.
    void MarkItemLabeled(const QString& itemLabel);

private:
    QComboBox* menu;
};

// A labelled whole-number field with a range.
class SpinButton : public LabeledControl {
public:
    SpinButton(const QString& labelText, int minimum, int maximum, QWidget* parent = nullptr);

    QSpinBox* Spin() const { return spin; }
    int Value() const { return spin->value(); }
    void SetValue(int value) { spin->setValue(value); }
    void SetRange(int minimum, int maximum) { spin->setRange(minimum, maximum); }

private:
    QSpinBox* spin;
};

// Keeps a text within a number of UTF-8 bytes: of an edit that would make it longer, only what
// fits of the text just entered (before the cursor) is kept, cut between whole characters.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int maxBytes, QObject* parent) : QValidator(parent), limit(maxBytes) {}
    State validate(QString& input, int& position) const override;

private:
    int limit;
};

// A labelled one-line text field.
class TextControl : public LabeledControl {
public:
    TextControl(const QString& labelText, const QString& text, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return edit; }
    QString Text() const { return edit->text(); }
    void SetText(const QString& text) { edit->setText(text); }
    // Typing beyond this many bytes of UTF-8 is refused; a paste is cut to what fits.
    void SetByteLimit(int maxBytes);

private:
    QLineEdit* edit;
};

// A frame around one child. Style 0 draws no line, style 1 a plain line, style 3 a labelled
// group frame; spacing is the room between the frame and its child.
QWidget* Border(int style, int spacing, const QString& label, QWidget* child);
QWidget* Border(int style, int spacing, const QString& label, QLayout* childLayout);

// An empty filler with the given hint.
QWidget* Space(const Minimax& hint);

// A widget holding a vertical or horizontal group of the given widgets, without margins.
QWidget* VGroup(std::initializer_list<QWidget*> children);
QWidget* HGroup(std::initializer_list<QWidget*> children);

// A progress bar whose value is a fraction from 0.0 (empty) to 1.0 (full).
class ProgressBar : public QProgressBar {
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    void SetFraction(float fraction);
    float Fraction() const;

    static constexpr int kSteps = 1000;
};

} // namespace kit
