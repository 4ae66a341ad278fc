// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/FileDrop.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

TEST(FileDropTest, DroppedRefsAreTheLocalFilesWithTheirBytes) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), "file:///music/My%20Album%C3%A9\r\n"
                                                  "# a comment line\r\n"
                                                  "https://example.org/song.wav\r\n"
                                                  "file://localhost/srv/Caf%E9\r\n"
                                                  "file://elsewhere/srv/remote\r\n"
                                                  "file:///tmp/a%2Fb\r\n");
    std::vector<std::string> paths;
    for (const kit::EntryRef& ref : kit::DroppedRefs(data)) {
        paths.push_back(ref.path.string());
    }
    EXPECT_EQ(paths,
              (std::vector<std::string>{"/music/My Album\xC3\xA9", "/srv/Caf\xE9", "/tmp/a/b"}));
    EXPECT_TRUE(kit::DroppedRefs(QMimeData()).empty());
}
