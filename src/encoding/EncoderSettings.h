// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder options of the window's controls, read afresh for every command that is built.
#pragma once

#include <string>

struct EncoderSettings {
    std::string outputDir{};           // "Save in:"
    std::string namePattern = "%t-%s"; // "Output filename as:"
    bool addExtension = true;          // "Add .mp3 file extension to file."
    // The labels of the marked "Bitrate:" and "Output Format:" items; an empty text, as when no
    // item is marked, counts as "128" and "stereo".
    std::string bitrate = "128";
    std::string outputFormat = "stereo";
    // The three spin controls hold floating-point values; the command passes them truncated
    // toward zero.
    double cpuCount = 1;      // "# of CPUs:"
    bool vbrEnabled = false;  // "Enable VBR"
    double vbrLevel = 0;      // "VBR:"
    bool noPsy = false;       // "Disable psycho-acoustics"
    double priority = 10;     // "Priority:"
    bool deleteInput = false; // "Delete input file after encoding"
    // The output folder lies on a file system that refuses some characters (a USB stick's vfat or
    // exFAT, NTFS): names get WindowsSafeName's replacements.
    bool windowsNames = false;
};
