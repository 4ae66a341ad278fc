// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/EncoderCommand.h"

#include "encoding/OutputFolders.h"
#include "encoding/OutputNames.h"

#include <QCoreApplication>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

// The "Save in:" text as an absolute folder ending in "/", or empty with the reason in `why`. A
// desktop user means a relative text below the home folder, not below the program's working
// folder.
std::string AbsoluteOutputFolder(std::string text, std::string& why) {
    if (text.ends_with('/')) {
        text.pop_back();
    }
    if (text.empty()) {
        why = QCoreApplication::translate("EncoderCommand", "No output folder is given.")
                  .toStdString();
        return {};
    }
    if (!text.starts_with('/')) {
        std::string home = HomeFolder();
        if (home.empty()) {
            why = QCoreApplication::translate(
                      "EncoderCommand", "No home folder is known to place the output folder %1 in.")
                      .arg(QString::fromStdString(text))
                      .toStdString();
            return {};
        }
        if (text == "~") {
            text.clear();
        } else if (text.starts_with("~/")) {
            text.erase(0, 2);
        }
        if (!home.ends_with('/')) {
            home += '/';
        }
        text.insert(0, home);
    }
    if (!text.ends_with('/')) {
        text += '/';
    }
    return text;
}

std::string FoldersNotMade(const std::filesystem::path& output) {
    return QCoreApplication::translate("EncoderCommand", "The folders of %1 cannot be made.")
        .arg(QString::fromStdString(output.string()))
        .toStdString();
}

std::string UnsafePathDetail(const std::string& path) {
    return QCoreApplication::translate(
               "EncoderCommand",
               "The file %1 cannot be handed to the encoder: its path holds a double quote.")
        .arg(QString::fromStdString(path))
        .toStdString();
}

// Why `path` cannot be opened for reading, or nothing when it can. Never blocks on a pipe.
std::optional<std::string> OpenFailure(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags);
    if (fd < 0) {
        return std::generic_category().message(errno);
    }
    ::close(fd);
    return std::nullopt;
}

// The whole part of a spin control's value. Values beyond int32, which no control gives, are
// clamped rather than overflowing.
int32_t WholePart(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(
        std::clamp(value, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

char ModeLetter(const std::string& outputFormat) {
    if (outputFormat.empty()) {
        return 's';
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(outputFormat.front())));
}

std::string CommandText(const EncoderSettings& settings, const std::string& source,
                        const std::string& output) {
    std::string text = "gogo \"" + source + "\" \"" + output + "\" -b ";
    text += settings.bitrate.empty() ? "128" : settings.bitrate;
    text += " -cpu " + std::to_string(WholePart(settings.cpuCount));
    if (settings.vbrEnabled) {
        text += " -v " + std::to_string(WholePart(settings.vbrLevel));
    }
    if (settings.noPsy) {
        text += " -nopsy";
    }
    text += " -m ";
    text += ModeLetter(settings.outputFormat);
    text += " -priority " + std::to_string(WholePart(settings.priority)) + " ";
    if (settings.deleteInput) {
        text += "-delete ";
    }
    return text;
}

} // namespace

const char* AlertMessage(CommandStatus status) {
    switch (status) {
    case CommandStatus::OutputDirectoryError:
        return kOutputDirectoryAlert;
    case CommandStatus::WriteProtected:
        return kWriteProtectAlert;
    default:
        return nullptr;
    }
}

OutputPlan PlanOutputPath(const EncoderSettings& settings, std::string_view outputName) {
    OutputPlan plan;
    plan.directory = AbsoluteOutputFolder(settings.outputDir, plan.detail);
    if (plan.directory.empty()) {
        plan.status = CommandStatus::OutputDirectoryError;
        return plan;
    }
    // Cut first: a cut may leave a dot or a space at a component's end.
    plan.name =
        FitNameLengths(outputName, settings.windowsNames,
                       settings.addExtension ? std::string_view(".mp3") : std::string_view());
    if (settings.windowsNames) {
        plan.name = WindowsSafeName(plan.name);
    }
    std::string output = plan.directory;
    output += plan.name;
    if (settings.addExtension) {
        output += ".mp3";
    }
    if (output.find('"') != std::string::npos) {
        plan.status = CommandStatus::UnsafePath;
        plan.detail = UnsafePathDetail(output);
    }
    plan.outputPath = output;
    return plan;
}

EncoderCommand PlanEncoderCommand(const EncoderSettings& settings,
                                  const std::filesystem::path& source,
                                  std::string_view outputName) {
    EncoderCommand command;
    OutputPlan plan = PlanOutputPath(settings, outputName);
    command.outputPath = plan.outputPath;
    command.directory = plan.directory;
    command.name = plan.name;
    const auto fail = [&command](CommandStatus status, std::string detail) {
        command.status = status;
        command.detail = std::move(detail);
        return command;
    };
    if (plan.status != CommandStatus::Ready) {
        return fail(plan.status, std::move(plan.detail));
    }
    std::error_code error;
    command.source = std::filesystem::absolute(source, error).string();
    if (error) {
        return fail(
            CommandStatus::NoCommand,
            QCoreApplication::translate("EncoderCommand", "The source file %1 cannot be opened: %2")
                .arg(QString::fromStdString(source.string()),
                     QString::fromStdString(error.message()))
                .toStdString());
    }
    if (command.source.find('"') != std::string::npos) {
        return fail(CommandStatus::UnsafePath, UnsafePathDetail(command.source));
    }
    command.text = CommandText(settings, command.source, plan.outputPath.string());
    return command;
}

OutputPreparation PrepareOutput(const EncoderCommand& command) {
    const auto fail = [](CommandStatus status, std::string detail) {
        return OutputPreparation{status, std::move(detail)};
    };
    if (CreateDirectories(command.directory) != kit::B_OK) {
        return fail(
            CommandStatus::OutputDirectoryError,
            QCoreApplication::translate("EncoderCommand", "The output folder %1 cannot be made.")
                .arg(QString::fromStdString(command.directory))
                .toStdString());
    }
    if (const auto why = OpenFailure(command.directory, O_DIRECTORY)) {
        return fail(CommandStatus::NoCommand,
                    QCoreApplication::translate("EncoderCommand",
                                                "The output folder %1 cannot be opened: %2")
                        .arg(QString::fromStdString(command.directory),
                             QString::fromStdString(*why))
                        .toStdString());
    }
    if (const auto why = OpenFailure(command.source, 0)) {
        return fail(
            CommandStatus::NoCommand,
            QCoreApplication::translate("EncoderCommand", "The source file %1 cannot be opened: %2")
                .arg(QString::fromStdString(command.source), QString::fromStdString(*why))
                .toStdString());
    }
    // Other failures are left to the encoder, which then reports that it cannot write its file.
    switch (CreateDirectories(command.name, command.directory)) {
    case kit::B_NOT_ALLOWED:
        return fail(CommandStatus::WriteProtected, FoldersNotMade(command.outputPath));
    case kit::B_BAD_VALUE:
        return fail(CommandStatus::OutputDirectoryError, FoldersNotMade(command.outputPath));
    default:
        break;
    }
    return {};
}

EncoderCommand BuildEncoderCommand(const EncoderSettings& settings,
                                   const std::filesystem::path& source,
                                   std::string_view outputName) {
    return PrepareCommand(PlanEncoderCommand(settings, source, outputName));
}

EncoderCommand PrepareCommand(EncoderCommand command) {
    if (command.status != CommandStatus::Ready) {
        return command;
    }
    OutputPreparation prepared = PrepareOutput(command);
    if (prepared.status != CommandStatus::Ready) {
        command.status = prepared.status;
        command.detail = std::move(prepared.detail);
        command.text.clear();
    }
    return command;
}
