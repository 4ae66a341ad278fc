// The encoder options of the window's controls, read afresh for every command that is built.
#pragma once

#include <string>

struct EncoderSettings {
    std::string outputDir;             // "Save in:"
    std::string namePattern = "%t-%s"; // "Output filename as:"
    bool addExtension = true;          // "Add .mp3 file extension to file."
    std::string bitrate = "128";       // label of the marked "Bitrate:" item; empty when none
    std::string outputFormat =
        "stereo"; // label of the marked "Output Format:" item; empty when none
    // The three spin controls hold floating-point values; the command passes them truncated
    // toward zero.
    double cpuCount = 1;      // "# of CPUs:"
    bool vbrEnabled = false;  // "Enable VBR"
    double vbrLevel = 0;      // "VBR:"
    bool noPsy = false;       // "Disable psycho-acoustics"
    double priority = 10;     // "Priority:"
    bool deleteInput = false; // "Delete input file after encoding"
};
