// Writes a settings file for a start of the program in a test: "Save in:" and the window's
// frame, the way the program stores them.
#include "app/VamblePrefs.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_settings OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    VamblePrefs prefs("Xq-Vamble");
    prefs.SetString("OutputDir", argv[1]);
    prefs.SetRect("WindowRect", kit::Rect(40, 40, 640, 640));
    return 0;
}
