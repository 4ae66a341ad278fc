// The question asked when several releases hold a disc: one line per release (title, artist,
// date, country, label, catalogue number, barcode, track count), "Use This Release" and
// "None of these". It does not block the window: the answer comes through `chosen`.
#pragma once

#include "lookup/DiscNames.h"

#include <QCoreApplication>
#include <QDialog>
#include <functional>
#include <vector>

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

private:
    QTreeWidget* list;
};
