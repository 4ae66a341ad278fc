// SPDX-License-Identifier: GPL-3.0-or-later
// The help bubbles of the window's controls.
#include "filelist/FileListView.h"
#include "window/EncoderTab.h"
#include "window/SettingsTab.h"
#include "window/TagsTab.h"
#include "window/VambleWindow.h"

#include <QPushButton>
#include <utility>

void VambleWindow::AttachTooltips() {
    const std::pair<QWidget*, const char*> tooltips[] = {
        {encoder->cpuSpin,
         QT_TR_NOOP("Set this to the number of processors\nyou want to be utilized.")},
        {encoder->vbrSpin, QT_TR_NOOP("Variable Bit Rate.  Values range for 0 to 9,\n"
                                      "0 being high quality and 9 being high compression.")},
        {encoder->saveInText, QT_TR_NOOP("Drag and Drop a folder onto this to set\n"
                                         "output directory where the file will be saved.")},
        {stopButton, QT_TR_NOOP("Stop the encoding.")},
        {fileList->Container(), QT_TR_NOOP("Drag wav files here to encode.")},
        {tags->onlyApplyFrame,
         QT_TR_NOOP("Check the tags that you only want\nto apply for the selected files.")},
        {encoder->deleteInputCheck,
         QT_TR_NOOP("File being encoded will be deleted\nafter encoding is complete.")},
        {cds->PopUp(), QT_TR_NOOP("Select an audio CD to retrieve files from.")},
        {tags->genrePopUp, QT_TR_NOOP("Select the type of music that applies to this song.")},
        {encoder->prioritySpin, QT_TR_NOOP("This sets the priority of the encoding thread.")},
        {options->outputNameText,
         QT_TR_NOOP("The name of each MP3 file: %s song title, %n Save As name, %c album,\n"
                    "%a artist, %A album artist, %y year, %t track, %d disc of several;\n"
                    "a / makes folders, as in %A/%c/%d-%t-%s.")},
    };
    for (const auto& [view, text] : tooltips) {
        bubbleHelper.SetHelp(view, tr(text));
    }
    // Over a row's cells the list tells where its file goes, and why a marked row is marked.
    bubbleHelper.SetHelpProvider(fileList,
                                 [this](QPoint where) { return fileList->HelpAt(where); });
}
