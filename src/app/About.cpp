// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/About.h"

#include "app/VambleApp.h"

#include <QCoreApplication>
#include <QPainter>

namespace {

// Where the window opens before it takes its picture's size.
const QRect kInitialFrame(120, 120, 364, 185);

} // namespace

AboutView::AboutView(QWidget* parent)
    : QWidget(parent), picture(QStringLiteral(":/about_box.png")) {
    setObjectName(QStringLiteral("AboutView"));
    setAccessibleName(QStringLiteral("Vamble %1").arg(QCoreApplication::applicationVersion()));
    if (!picture.isNull()) {
        resize(picture.size());
    }
}

void AboutView::paintEvent(QPaintEvent* /*event*/) {
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), picture);
}

About::About()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      view(new AboutView(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("About Vamble"));
    setGeometry(kInitialFrame);
    setFixedSize(view->HasPicture() ? view->PictureSize() : kInitialFrame.size());
    view->setGeometry(rect());
    setAccessibleName(windowTitle());
    // What the picture says, for those who cannot see it.
    setAccessibleDescription(
        tr("Vamble, version %1. WAV to tagged MP3. A GUI wrapper for the gogo MP3 "
           "encoder.")
            .arg(QCoreApplication::applicationVersion()) +
        QLatin1Char(' ') +
        tr("Free software under the GNU General Public License, version 3 or later."));
}

About::~About() {
    aboutwindow = false;
}
