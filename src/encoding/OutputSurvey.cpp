// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/OutputSurvey.h"

#include "encoding/EncoderCommand.h"
#include "encoding/OutputClashes.h"
#include "encoding/OutputNames.h"

bool OutputFolderTakesOnlyWindowsNames(const EncoderSettings& settings) {
    const std::string folder = PlanOutputPath(settings, {}).directory;
    return !folder.empty() && FolderTakesOnlyWindowsNames(folder);
}

OutputSurvey SurveyOutputs(EncoderSettings settings, const std::vector<std::string>& outputNames) {
    OutputSurvey survey;
    survey.windowsNames = OutputFolderTakesOnlyWindowsNames(settings);
    settings.windowsNames = survey.windowsNames;
    FolderListings disk;
    for (const std::string& name : outputNames) {
        const OutputPlan plan = PlanOutputPath(settings, name);
        if (plan.status == CommandStatus::Ready && disk.Exists(plan.outputPath.native())) {
            survey.existing.insert(OutputKey(plan.outputPath.native()));
        }
    }
    return survey;
}
