// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/CompanionEncoder.h"
#include "app/DisplayCheck.h"
#include "app/Translations.h"
#include "app/VambleApp.h"

#include <cstdio>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <thread>

int main(int argc, char** argv) {
    // Chosen before the application object so that --help is answered in the desktop's language
    // without opening a display.
    Translations translations;
    if (const std::optional<int> status =
            AnswerInformationRequest(argc, argv, translations, stdout)) {
        return *status;
    }
    // Qt aborts with a long message when it finds no display; say it in one line instead.
    if (!HasDisplay()) {
        std::fputs(translations
                       .Translate("main",
                                  QT_TRANSLATE_NOOP("main", "vamble: no graphical display (neither "
                                                            "DISPLAY nor WAYLAND_DISPLAY is set); "
                                                            "start Vamble from a desktop session."))
                       .append(u'\n')
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        return 1;
    }
    // Before any thread starts: the encoder that ships with the program is the fallback gogo.
    AppendCompanionEncoderToPath();
    // Fontconfig reads its configuration and font caches the first time it is used, which the
    // window's first text would wait for; a second processor reads them while the display opens.
    std::thread fontSetUp([] { FcInit(); });
    auto displayGuard = std::make_unique<DisplayOpenGuard>(translations.Translate(
        "main",
        QT_TRANSLATE_NOOP("main", "vamble: cannot open the display \"%1\"; check that it is "
                                  "running and that you may use it.")));
    VambleApp app(argc, argv);
    displayGuard.reset();
    translations.Install();
    fontSetUp.join();
    return app.Run();
}
