// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Layout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(TextControl, APasteBeyondTheByteLimitIsCutAtACharacterBoundary) {
    struct Case {
        QString before;
        int cursor;
        QString pasted;
        QString after;
    };
    const QString face = QStringLiteral("\U0001F600"); // two UTF-16 units, four bytes
    for (const Case& c : {
             Case{QString(), 0, QStringLiteral("0123456789abc"), QStringLiteral("0123456789")},
             Case{QStringLiteral("abcdefgh"), 8, QStringLiteral("éé"), QStringLiteral("abcdefghé")},
             Case{QStringLiteral("abcdefg"), 7, face, QStringLiteral("abcdefg")},
             Case{QStringLiteral("abcdefgh"), 2, QStringLiteral("XYZ"),
                  QStringLiteral("abXYcdefgh")},
         }) {
        kit::TextControl field(QStringLiteral("Artist:"), c.before);
        field.SetByteLimit(10);
        field.Edit()->setCursorPosition(c.cursor);
        QGuiApplication::clipboard()->setText(c.pasted);
        field.Edit()->paste();
        EXPECT_EQ(field.Text().toStdString(), c.after.toStdString()) << c.pasted.toStdString();
    }
}
