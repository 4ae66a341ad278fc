#include "app/About.h"

#include "app/VambleApp.h"

#include <QPainter>

namespace {

// Where the window opens before it takes its picture's size.
const QRect kInitialFrame(120, 120, 364, 185);

} // namespace

AboutView::AboutView(QWidget* parent)
    : QWidget(parent), picture(QStringLiteral(":/about_box.png")) {
    setObjectName(QStringLiteral("AboutView"));
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
    setWindowTitle(QStringLiteral("About Vamble"));
    setGeometry(kInitialFrame);
    setFixedSize(view->HasPicture() ? view->PictureSize() : kInitialFrame.size());
    view->setGeometry(rect());
    setAccessibleName(windowTitle());
}

About::~About() {
    aboutwindow = false;
}
