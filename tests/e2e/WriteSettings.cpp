// Writes a settings file for a start of the program in a test or a benchmark: "Save in:", the
// window's frame and, when given, "Files at once:", the way the program stores them.
#include "app/VamblePrefs.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fputs("usage: write_settings OUTPUT-FOLDER [FILES-AT-ONCE]\n", stderr);
        return 2;
    }
    VamblePrefs prefs("Xq-Vamble");
    prefs.SetString("OutputDir", argv[1]);
    prefs.SetRect("WindowRect", kit::Rect(40, 40, 640, 640));
    if (argc == 3) {
        prefs.SetInt8("FilesAtOnce", static_cast<int8_t>(std::atoi(argv[2])));
    }
    return 0;
}
