// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Layout.h"

#include <QBoxLayout>
#include <QFrame>
#include <QKeyEvent>
#include <QStringView>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace kit {

void AddWithHint(QBoxLayout* group, QWidget* widget, const Minimax& hint) {
    ApplyMinimax(widget, hint);
    group->addWidget(widget, static_cast<int>(hint.weight));
}

LabeledControl::LabeledControl(const QString& labelText, QWidget* fieldWidget, QWidget* parent)
    : QWidget(parent), label(new QLabel(labelText, this)), field(fieldWidget) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    row->addWidget(field, 1);
    label->setBuddy(field);
    field->setAccessibleName(labelText);
}

void DivideSame(std::initializer_list<LabeledControl*> controls) {
    int widest = 0;
    for (LabeledControl* control : controls) {
        widest = std::max(widest, control->Label()->sizeHint().width());
    }
    for (LabeledControl* control : controls) {
        control->Label()->setFixedWidth(widest);
    }
}

void CommandMenu::wheelEvent(QWheelEvent* event) {
    event->ignore(); // the view around it scrolls instead
}

void CommandMenu::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((key == Qt::Key_Space && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_F4 && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_Down && modifiers == Qt::AltModifier)) {
        QComboBox::keyPressEvent(event); // opens the menu
        return;
    }
    event->ignore();
}

PopUp::PopUp(const QString& labelText, const QStringList& items, QWidget* parent)
    : PopUp(new QComboBox, labelText, parent) {
    menu->addItems(items);
    menu->setCurrentIndex(-1);
}

PopUp::PopUp(QComboBox* menuWidget, const QString& labelText, QWidget* parent)
    : LabeledControl(labelText, menuWidget, parent), menu(menuWidget) {}

QString PopUp::MarkedLabel() const {
    return menu->currentIndex() < 0 ? QString() : menu->currentText();
}

void PopUp::MarkItem(int index) {
    menu->setCurrentIndex(index >= 0 && index < menu->count() ? index : -1);
}

void PopUp::MarkItemLabeled(const QString& itemLabel) {
    MarkItem(menu->findText(itemLabel, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

SpinButton::SpinButton(const QString& labelText, int minimum, int maximum, QWidget* parent)
    : LabeledControl(labelText, new QSpinBox, parent), spin(static_cast<QSpinBox*>(Field())) {
    spin->setRange(minimum, maximum);
}

QValidator::State ByteLimitValidator::validate(QString& input, int& position) const {
    const qsizetype excess = input.toUtf8().size() - limit;
    // What was just typed or pasted ends at the cursor: its last characters are dropped, whole,
    // until the text fits. They come from the new text alone (the text before the edit fitted),
    // and a typed character that does not fit is dropped, so typing stops at the limit.
    qsizetype cut = position;
    qsizetype dropped = 0;
    while (dropped < excess) {
        if (cut == 0) {
            return Invalid; // the text after the cursor alone is too long
        }
        const bool pair =
            cut >= 2 && input[cut - 1].isLowSurrogate() && input[cut - 2].isHighSurrogate();
        const qsizetype length = pair ? 2 : 1;
        cut -= length;
        dropped += QStringView(input).mid(cut, length).toUtf8().size();
    }
    input.remove(cut, position - cut);
    position = static_cast<int>(cut);
    return Acceptable;
}

TextControl::TextControl(const QString& labelText, const QString& text, QWidget* parent)
    : LabeledControl(labelText, new QLineEdit(text), parent),
      edit(static_cast<QLineEdit*>(Field())) {}

void TextControl::SetByteLimit(int maxBytes) {
    edit->setValidator(new ByteLimitValidator(maxBytes, edit));
}

namespace {

QWidget* Frame(int style, const QString& label) {
    if (style == 3 || !label.isEmpty()) {
        return new QGroupBox(label);
    }
    auto* frame = new QFrame;
    frame->setFrameShape(style == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    return frame;
}

} // namespace

QWidget* Border(int style, int spacing, const QString& label, QLayout* childLayout) {
    QWidget* frame = Frame(style, label);
    childLayout->setContentsMargins(spacing, spacing, spacing, spacing);
    frame->setLayout(childLayout);
    return frame;
}

QWidget* Border(int style, int spacing, const QString& label, QWidget* child) {
    auto* inside = new QVBoxLayout;
    inside->addWidget(child);
    return Border(style, spacing, label, inside);
}

QWidget* Space(const Minimax& hint) {
    auto* space = new QWidget;
    space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    ApplyMinimax(space, hint);
    return space;
}

namespace {

QWidget* Group(QBoxLayout* layout, std::initializer_list<QWidget*> children) {
    auto* group = new QWidget;
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* child : children) {
        layout->addWidget(child);
    }
    group->setLayout(layout);
    return group;
}

} // namespace

QWidget* VGroup(std::initializer_list<QWidget*> children) {
    return Group(new QVBoxLayout, children);
}

QWidget* HGroup(std::initializer_list<QWidget*> children) {
    return Group(new QHBoxLayout, children);
}

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, kSteps);
    setValue(0);
}

void ProgressBar::SetFraction(float fraction) {
    setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0f, 1.0f) * kSteps)));
}

float ProgressBar::Fraction() const {
    return static_cast<float>(value()) / kSteps;
}

} // namespace kit
