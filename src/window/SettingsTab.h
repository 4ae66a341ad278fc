// SPDX-License-Identifier: GPL-3.0-or-later
// The "Settings" tab: the output file names, the tags beyond ID3v1, how many files encode at
// once, tooltips, and the disc look-up.
#pragma once

#include "kit/Layout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QWidget>

class SettingsTab : public QWidget {
    // Its texts belong to the window's translation context, as the window's other texts do.
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    // "Files at once:" goes up to `processorCount`.
    explicit SettingsTab(int processorCount);

    // Whether the ID3v2 tag gets ReplayGain values, and the front cover.
    [[nodiscard]] bool ReplayGain() const;
    [[nodiscard]] bool EmbedCover() const;
    // "Embed cover art" and "Write ReplayGain tags" are enabled while ID3v2 tags are written.
    void FollowId3v2();

    kit::TextControl* const outputNameText;
    QCheckBox* const mp3ExtensionCheck;
    QCheckBox* const tooltipsCheck;
    QCheckBox* const id3v2Check;
    QCheckBox* const embedCoverCheck;
    QCheckBox* const replayGainCheck;
    kit::SpinButton* const filesAtOnceSpin;
    QCheckBox* const lookupOnlineCheck;
    kit::TextControl* const gnudbEmailText;
};
