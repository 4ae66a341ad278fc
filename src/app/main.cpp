#include "app/CompanionEncoder.h"
#include "app/VambleApp.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long message when it finds no display; say it in one line instead. A chosen
// platform plugin (QT_QPA_PLATFORM, e.g. offscreen or vnc) needs no display.
bool HasDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs("vamble: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start Vamble from a desktop session.\n",
                   stderr);
        return 1;
    }
    // Before any thread starts: the encoder that ships with the program is the fallback gogo.
    AppendCompanionEncoderToPath();
    VambleApp app(argc, argv);
    app.Run();
    return 0;
}
