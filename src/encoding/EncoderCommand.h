// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's command line for one row of the file list, and where that command writes its
// output.
#pragma once

#include "encoding/EncoderSettings.h"

#include <QtGlobal>
#include <filesystem>
#include <string>
#include <string_view>

enum class CommandStatus {
    Ready,                // the command is built (for a planned path: nothing stops it)
    NoCommand,            // the output folder is no folder, or it or the source cannot be opened
    OutputDirectoryError, // the output folder is not given or cannot be made: kOutputDirectoryAlert
    WriteProtected,       // a folder of the output name cannot be made there: kWriteProtectAlert
    UnsafePath,           // a path holds a double quote, which the command cannot carry
};

// Marked for translation in the context "EncoderCommand"; whoever shows them translates them.
inline constexpr const char* kOutputDirectoryAlert = QT_TRANSLATE_NOOP(
    "EncoderCommand",
    "There was an error creating the output directory.  Please recheck the ouput directory.");
inline constexpr const char* kWriteProtectAlert = QT_TRANSLATE_NOOP(
    "EncoderCommand", "It seems the volume/directory you are writing to is write protect.");

// The alert the user is shown for `status` (English, marked for translation in the context
// "EncoderCommand"), or null for a status that has none.
const char* AlertMessage(CommandStatus status);

struct OutputPlan {
    CommandStatus status = CommandStatus::Ready;
    std::string directory;            // the output folder, absolute, ending in "/"
    std::filesystem::path outputPath; // where the encoder writes; empty without an output folder
    std::string name;                 // the output name as written there, without ".mp3"
    std::string detail;               // what went wrong, for the user
};

// Where a row's MP3 file goes with these settings, without touching the disk. `outputName` is the
// row's expansion of the name pattern. The "Save in:" text loses one trailing "/"; a relative
// text, "~" and a leading "~/" are taken from the home folder. With `windowsNames` the name gets
// the replacements that file system needs (see OutputNames.h). Fails with OutputDirectoryError
// when no folder is given and with UnsafePath when the output path holds a double quote.
OutputPlan PlanOutputPath(const EncoderSettings& settings, std::string_view outputName);

struct EncoderCommand {
    CommandStatus status = CommandStatus::Ready;
    std::string text;                 // empty unless status is Ready
    std::filesystem::path outputPath; // as PlanOutputPath gives it
    std::string detail;               // what went wrong, for the user
    // What PrepareOutput makes and checks: the output folder and name as planned, and the source
    // file as an absolute path.
    std::string directory;
    std::string name;
    std::string source;
};

// The command that encodes `source` into the row's output file, without touching the disk. The
// text is: gogo "SOURCE" "OUTPUT" -b BITRATE -cpu N [-v LEVEL] [-nopsy] -m MODE -priority N
// [-delete] and a final blank; paths are quoted, never escaped. A source or output path holding a
// double quote gets no command (UnsafePath).
EncoderCommand PlanEncoderCommand(const EncoderSettings& settings,
                                  const std::filesystem::path& source,
                                  std::string_view outputName);

// Whether a planned command may run, after making what it needs on disk.
struct OutputPreparation {
    CommandStatus status = CommandStatus::Ready;
    std::string detail; // what went wrong, for the user
};

// Makes the folders a planned command's file needs (the output folder with every missing level,
// then the folders the output name writes) and checks that the output folder and the source file
// can be opened. Touches the disk: the run calls it on the encoder's thread.
OutputPreparation PrepareOutput(const EncoderCommand& command);

// A planned command after PrepareOutput: one that cannot run has no text, and its status and
// detail say why.
EncoderCommand PrepareCommand(EncoderCommand command);

// PlanEncoderCommand and then PrepareCommand.
EncoderCommand BuildEncoderCommand(const EncoderSettings& settings,
                                   const std::filesystem::path& source,
                                   std::string_view outputName);
