// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/About.h"

#include "app/VambleApp.h"

#include <QCoreApplication>
#include <QFontMetrics>
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

QStringList AboutView::Lines() const { // NOLINT(readability-convert-member-functions-to-static)
    return {QStringLiteral("Vamble"), tr("Version %1").arg(QCoreApplication::applicationVersion()),
            tr("WAV to tagged MP3"), tr("A GUI wrapper for the gogo MP3 encoder")};
}

void AboutView::paintEvent(QPaintEvent* /*event*/) {
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QStringList lines = Lines();
    // Beside the icon: the name large, the version and the summary below it; across the foot,
    // above the wave, the longer line, made smaller where a language needs more room.
    constexpr int kTextLeft = 106;
    constexpr int kMargin = 12;
    QFont name = font();
    name.setPixelSize(36);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(QColor(18, 36, 88));
    painter.drawText(QPoint(kTextLeft, 61), lines[0]);
    QFont small = font();
    small.setPixelSize(12);
    painter.setFont(small);
    painter.setPen(QColor(51, 62, 90));
    painter.drawText(QPoint(kTextLeft + 2, 83), lines[1]);
    painter.drawText(QPoint(kTextLeft + 2, 99), lines[2]);
    for (int size = 12; size > 8; --size) {
        small.setPixelSize(size);
        if (QFontMetrics(small).horizontalAdvance(lines[3]) <= width() - 2 * kMargin) {
            break;
        }
    }
    painter.setFont(small);
    painter.drawText(
        QRect(kMargin, 116, width() - 2 * kMargin, 20), Qt::AlignCenter,
        QFontMetrics(small).elidedText(lines[3], Qt::ElideRight, width() - 2 * kMargin));
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
        view->Lines().join(QStringLiteral(". ")) + QStringLiteral(". ") +
        tr("Free software under the GNU General Public License, version 3 or later."));
}

About::~About() {
    aboutwindow = false;
}
