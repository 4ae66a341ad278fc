// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/EncoderTab.h"

#include "window/WindowLayout.h"
#include "window/WindowMessages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QStringList kBitrates = {QStringLiteral("64"),  QStringLiteral("96"),  QStringLiteral("128"),
                               QStringLiteral("160"), QStringLiteral("192"), QStringLiteral("256"),
                               QStringLiteral("320")};
// Never translated: the marked item, lower-cased, is the encoder's mode and the stored setting.
const QStringList kOutputFormats = {QStringLiteral("Stereo"), QStringLiteral("Mono"),
                                    QStringLiteral("J-Stereo")};

} // namespace

EncoderTab::EncoderTab(QObject* window, int processorCount)
    : bitratePopUp(new kit::PopUp(tr("Bitrate:"), kBitrates)),
      outputFormatPopUp(new kit::PopUp(tr("Output Format:"), kOutputFormats)),
      cpuSpin(new kit::SpinButton(tr("# of CPUs:"), 1, processorCount)),
      prioritySpin(new kit::SpinButton(tr("Priority:"), 1, 10)),
      vbrSpin(new kit::SpinButton(tr("VBR:"), 0, 9)), vbrCheck(new QCheckBox(tr("Enable VBR"))),
      deleteInputCheck(new QCheckBox(tr("Delete input file after encoding"))),
      noPsyCheck(new QCheckBox(tr("Disable psycho-acoustics"))),
      saveInText(new kit::TextControl(tr("Save in:"), QString())) {
    connect(vbrCheck, &QCheckBox::clicked, window,
            [window] { kit::PostMessage(window, kit::Message(MSG_ENABLE_VBR)); });

    auto* settingsRow = Tight(new QHBoxLayout);
    settingsRow->addWidget(kit::VGroup({bitratePopUp, outputFormatPopUp}));
    settingsRow->addWidget(kit::VGroup({cpuSpin, prioritySpin, vbrSpin}));
    kit::AddWithHint(settingsRow, kit::Space({10, -1, -1, -1, 1}), {10, -1, -1, -1, 1});
    settingsRow->addWidget(kit::VGroup({vbrCheck, deleteInputCheck, noPsyCheck}));

    auto* folderRow = Tight(new QHBoxLayout);
    folderRow->addWidget(Spacer(5, 10));
    folderRow->addWidget(saveInText, 1);
    folderRow->addWidget(Spacer(5, 10));
    folderRow->addWidget(CommandButton(tr("Select Dir"), MSG_SELECT_DIR, window));
    folderRow->addWidget(Spacer(5, 10));

    auto* column = new QVBoxLayout(this);
    column->addLayout(settingsRow);
    column->addWidget(Spacer(10, 10));
    column->addLayout(folderRow);
    column->addWidget(Spacer(10, 10));
    // The pages share the height of the tallest; the controls keep together at the top.
    column->addStretch(1);

    kit::DivideSame({bitratePopUp, outputFormatPopUp});
    kit::DivideSame({vbrSpin, cpuSpin, prioritySpin});
}

std::string EncoderTab::Bits() const {
    const QString marked = bitratePopUp->MarkedLabel();
    return marked.isEmpty() ? std::string("128") : marked.toStdString();
}

std::string EncoderTab::OutputFormat() const {
    const QString marked = outputFormatPopUp->MarkedLabel();
    return marked.isEmpty() ? std::string("stereo") : marked.toLower().toStdString();
}

void EncoderTab::Read(EncoderSettings& settings) const {
    settings.outputDir = saveInText->Text().toStdString();
    settings.bitrate = Bits();
    settings.outputFormat = OutputFormat();
    settings.cpuCount = cpuSpin->Value();
    settings.vbrEnabled = vbrCheck->isChecked();
    settings.vbrLevel = vbrSpin->Value();
    settings.noPsy = noPsyCheck->isChecked();
    settings.priority = prioritySpin->Value();
    settings.deleteInput = deleteInputCheck->isChecked();
}

void EncoderTab::FollowVbr() const {
    vbrSpin->setEnabled(vbrCheck->isChecked());
}
