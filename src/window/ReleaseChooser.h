// SPDX-License-Identifier: GPL-3.0-or-later
// The question asked when several releases hold a disc: one line per release (title with what
// tells it apart, artist, date, country, label, catalogue number, barcode, track count, format),
// the selected release's track titles, "Use This Release" and "None of these". It does not block
// the window: the answer comes through `chosen`.
#pragma once

#include "lookup/DiscNames.h"

#include <QCoreApplication>
#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

class ReleaseChooser : public QDialog {
    // Its texts are translated in a context of its own, not QDialog's.
    Q_DECLARE_TR_FUNCTIONS(ReleaseChooser)

public:
    // `chosen` gets the index of the release chosen, or -1 for "None of these" (also when the
    // dialog is closed otherwise). The dialog deletes itself once answered.
    ReleaseChooser(QWidget* parent, const QString& discName,
                   const std::vector<ReleaseNames>& releases, std::function<void(int)> chosen);

    [[nodiscard]] QTreeWidget* List() const { return list; }
    [[nodiscard]] QLabel* Tracks() const { return tracks; }

private:
    QTreeWidget* list;
    QLabel* tracks;
};
