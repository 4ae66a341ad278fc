#include "app/CompanionEncoder.h"
#include "app/DisplayCheck.h"
#include "app/VambleApp.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    // Qt aborts with a long message when it finds no display; say it in one line instead.
    if (!HasDisplay()) {
        std::fputs("vamble: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start Vamble from a desktop session.\n",
                   stderr);
        return 1;
    }
    // Before any thread starts: the encoder that ships with the program is the fallback gogo.
    AppendCompanionEncoderToPath();
    auto displayGuard = std::make_unique<DisplayOpenGuard>();
    VambleApp app(argc, argv);
    displayGuard.reset();
    return app.Run();
}
