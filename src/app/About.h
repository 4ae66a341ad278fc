// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

// Shows the application's "about_box" picture, tiled from the top left, with the program's name,
// version and what it does written on it in the user's language.
class AboutView : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(About)

public:
    explicit AboutView(QWidget* parent);
    bool HasPicture() const { return !picture.isNull(); }
    QSize PictureSize() const { return picture.size(); }
    // The lines written on the picture, from the top.
    [[nodiscard]] QStringList Lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture;
};

// The About window: exactly the size of its picture, neither resizable nor zoomable. Without a
// picture it keeps its initial frame. Destroying it clears the global flag aboutwindow.
class About : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(About)

public:
    About();
    ~About() override;

    AboutView* View() const { return view; }

private:
    AboutView* view;
};
