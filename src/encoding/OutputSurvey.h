// SPDX-License-Identifier: GPL-3.0-or-later
// What the disk says about the files a list of rows would write: looked at off the GUI thread,
// as the output folder may be a slow or stalled network folder.
#pragma once

#include "encoding/EncoderSettings.h"

#include <string>
#include <unordered_set>
#include <vector>

struct OutputSurvey {
    // The output folder's file system refuses some characters (EncoderSettings::windowsNames).
    bool windowsNames = false;
    // The OutputKey of every planned output path something is at.
    std::unordered_set<std::string> existing;
};

// Whether the settings' output folder lies on a file system that refuses some characters (see
// OutputNames.h); false without a folder. Touches the disk.
bool OutputFolderTakesOnlyWindowsNames(const EncoderSettings& settings);

// Decides whether the output folder takes only Windows names, plans the path of each output name
// with that, and lists each folder those paths are in once. Touches the disk.
OutputSurvey SurveyOutputs(EncoderSettings settings, const std::vector<std::string>& outputNames);
