// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a settings file for a start of the program in a test or a benchmark: "Save in:", the
// window's frame and, when given, "Files at once:" (a number) and further check boxes or numbers
// by their keys (KEY=NUMBER, as "ReplayGain=1"), the way the program stores them.
#include "app/VamblePrefs.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: write_settings OUTPUT-FOLDER [FILES-AT-ONCE] [KEY=NUMBER...]\n", stderr);
        return 2;
    }
    VamblePrefs prefs("Xq-Vamble");
    prefs.SetString("OutputDir", argv[1]);
    prefs.SetRect("WindowRect", kit::Rect(40, 40, 640, 640));
    for (int i = 2; i < argc; ++i) {
        const std::string setting = argv[i];
        const size_t equals = setting.find('=');
        const std::string key =
            equals == std::string::npos ? "FilesAtOnce" : setting.substr(0, equals);
        const char* number = equals == std::string::npos ? argv[i] : argv[i] + equals + 1;
        prefs.SetInt8(key.c_str(), static_cast<int8_t>(std::atoi(number)));
    }
    return 0;
}
