// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/Alerts.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString AlertTitle() {
    return QCoreApplication::translate("VambleWindow", "Alert");
}

} // namespace

void ShowAlert(QWidget* window, const QString& text) {
    auto* alert = new QMessageBox(QMessageBox::Information, AlertTitle(), text,
                                  QMessageBox::NoButton, window);
    alert->addButton(QCoreApplication::translate("VambleWindow", "OK"), QMessageBox::AcceptRole);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->open();
}

void Ask(QWidget* window, const QString& text, const QString& yes, const QString& no,
         std::function<void(bool)> answered) {
    auto* question =
        new QMessageBox(QMessageBox::Question, AlertTitle(), text, QMessageBox::NoButton, window);
    QPushButton* accept = question->addButton(yes, QMessageBox::AcceptRole);
    QPushButton* reject = question->addButton(no, QMessageBox::RejectRole);
    question->setDefaultButton(reject);
    question->setEscapeButton(reject);
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setWindowModality(Qt::WindowModal);
    QObject::connect(question, &QMessageBox::finished, window,
                     [question, accept, answered = std::move(answered)] {
                         answered(question->clickedButton() == accept);
                     });
    question->open();
}
