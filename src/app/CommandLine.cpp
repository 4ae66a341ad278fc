// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/AppIdentity.h"
#include "app/Translations.h"

#include <QCoreApplication>
#include <cstring>

namespace {

// Marked for translation here and translated when printed: the help is printed before the
// application object exists, so it cannot go through tr().
constexpr const char* kHelpText = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Usage: vamble [FILE...]\n"
    "Turns WAV files into tagged MP3 files with the encoder gogo.\n"
    "\n"
    "Opens the Vamble window. WAV files named here are added to its file list as if dropped\n"
    "on it; when Vamble is already running, they go to the running window instead.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "Settings are kept in ~/.config/Xq-Vamble (or $XDG_CONFIG_HOME/Xq-Vamble).\n"
    "More in the manual: man vamble\n");

} // namespace

InformationRequest FindInformationRequest(std::span<const char* const> arguments) {
    for (const char* argument : arguments) {
        if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
            return InformationRequest::Help;
        }
        if (std::strcmp(argument, "--version") == 0) {
            return InformationRequest::Version;
        }
    }
    return InformationRequest::None;
}

std::optional<int> AnswerInformationRequest(int argc, const char* const* argv,
                                            const Translations& translations, std::FILE* out) {
    const auto arguments = argc > 1 ? std::span(argv + 1, static_cast<size_t>(argc - 1))
                                    : std::span<const char* const>();
    switch (FindInformationRequest(arguments)) {
    case InformationRequest::None:
        return std::nullopt;
    case InformationRequest::Help:
        std::fputs(translations.Translate("CommandLine", kHelpText).toLocal8Bit().constData(), out);
        break;
    case InformationRequest::Version:
        std::fprintf(out, "vamble %s\n", kVambleVersion);
        break;
    }
    if (std::fflush(out) != 0) {
        std::perror("vamble: cannot print");
        return 1;
    }
    return 0;
}
