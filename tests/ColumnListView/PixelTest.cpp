#include "ListFixture.h"

#include <gtest/gtest.h>

TEST(ColumnListPixels, Smoke) {
    FileListLike f(30);
    f.list->Select(1);
    f.Show();
    SaveForInspection(f.Grab(), "smoke.png");
}
