// SPDX-License-Identifier: GPL-3.0-or-later
// The "GoGo Settings" tab: the encoder's bit rate, output format, processors, priority, VBR and
// psycho-acoustics, deleting the input, and the output folder ("Save in:").
#pragma once

#include "encoding/EncoderSettings.h"
#include "kit/Layout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QWidget>

class EncoderTab : public QWidget {
    // Its texts belong to the window's translation context, as the window's other texts do.
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    // "Enable VBR" and "Select Dir" send their commands to `window`; "# of CPUs:" goes up to
    // `processorCount`.
    EncoderTab(QObject* window, int processorCount);

    // The marked bit rate's label, or "128" when none is marked.
    [[nodiscard]] std::string Bits() const;
    // The marked output format's label, lower-cased, or "stereo" when none is marked.
    [[nodiscard]] std::string OutputFormat() const;
    // The encoder options these controls hold, into `settings`.
    void Read(EncoderSettings& settings) const;
    // "VBR:" is enabled while "Enable VBR" is checked.
    void FollowVbr() const;

    kit::PopUp* const bitratePopUp;
    kit::PopUp* const outputFormatPopUp;
    kit::SpinButton* const cpuSpin;
    kit::SpinButton* const prioritySpin;
    kit::SpinButton* const vbrSpin;
    QCheckBox* const vbrCheck;
    QCheckBox* const deleteInputCheck;
    QCheckBox* const noPsyCheck;
    kit::TextControl* const saveInText;
};
