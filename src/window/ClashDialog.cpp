// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ClashDialog.h"

#include <QPushButton>
#include <algorithm>

namespace {

QString ClashList(int count, const QStringList& firstFew) {
    QString text = count == 1
                       ? ClashDialog::tr("1 file would overwrite a file that exists or that "
                                         "another row writes:")
                       : ClashDialog::tr("%1 files would overwrite files that exist or that other "
                                         "rows write:")
                             .arg(count);
    const int listed = std::min<int>(static_cast<int>(firstFew.size()), ClashDialog::kListed);
    for (int i = 0; i < listed; ++i) {
        text += QStringLiteral("\n    ") + firstFew[i];
    }
    if (count > listed) {
        text += QStringLiteral("\n    ") + ClashDialog::tr("…and %1 more").arg(count - listed);
    }
    return text;
}

} // namespace

ClashDialog::ClashDialog(int count, const QStringList& firstFew, QWidget* parent)
    : QMessageBox(QMessageBox::Warning, tr("Overwrite Files?"), ClashList(count, firstFew),
                  QMessageBox::NoButton, parent),
      overwriteButton(addButton(tr("Overwrite"), QMessageBox::DestructiveRole)),
      skipButton(addButton(tr("Skip These"), QMessageBox::AcceptRole)),
      cancelButton(addButton(tr("Cancel"), QMessageBox::RejectRole)) {
    setInformativeText(tr("Skipped rows stay in the list, not done."));
    // The answer that loses nothing and still encodes the rest.
    setDefaultButton(skipButton);
    setEscapeButton(cancelButton);
}

ClashDialog::Choice ClashDialog::Ask() {
    exec();
    if (clickedButton() == overwriteButton) {
        return Choice::Overwrite;
    }
    return clickedButton() == skipButton ? Choice::Skip : Choice::Cancel;
}
