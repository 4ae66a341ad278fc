// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/SettingsTab.h"

#include "window/WindowLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

SettingsTab::SettingsTab(int processorCount)
    : outputNameText(new kit::TextControl(tr("Output filename as:"), QStringLiteral("%t-%s"))),
      mp3ExtensionCheck(new QCheckBox(tr("Add .mp3 file extension to file."))),
      tooltipsCheck(new QCheckBox(tr("Enable Tooltips."))),
      id3v2Check(new QCheckBox(tr("Also write ID3v2 tags"))),
      embedCoverCheck(new QCheckBox(tr("Embed cover art"))),
      replayGainCheck(new QCheckBox(tr("Write ReplayGain tags"))),
      filesAtOnceSpin(new kit::SpinButton(tr("Files at once:"), 1, processorCount)),
      lookupOnlineCheck(new QCheckBox(tr("Look up discs online"))),
      gnudbEmailText(new kit::TextControl(tr("gnudb e-mail:"), QString())) {
    connect(id3v2Check, &QCheckBox::toggled, this, [this] { FollowId3v2(); });
    auto legend = [](const QString& text) {
        auto* line = new QLabel(text);
        line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        kit::ApplyMinimax(line, {10, 10, 65536, 65536, 1});
        return line;
    };
    auto* column = Tight(new QVBoxLayout);
    column->addWidget(legend(tr("%s = Song Title;  %n = Save As Name;  %c = Album")));
    column->addWidget(legend(tr("%a = Artist;  %y = Year;  %t = Track #")));
    column->addWidget(legend(tr("%d = Disc # (of several);  %A = Album Artist")));
    column->addWidget(outputNameText);
    column->addWidget(mp3ExtensionCheck);
    column->addWidget(tooltipsCheck);
    column->addWidget(id3v2Check);
    column->addWidget(embedCoverCheck);
    column->addWidget(replayGainCheck);
    column->addWidget(kit::HGroup({filesAtOnceSpin, kit::Space({0, 0, -1, -1, 1})}));
    column->addWidget(lookupOnlineCheck);
    column->addWidget(gnudbEmailText);
    column->addStretch(1);
    auto* row = Tight(new QHBoxLayout);
    row->addLayout(column);
    auto* frame = Tight(new QVBoxLayout(this));
    frame->addWidget(kit::Border(0, 10, QString(), row));
}

bool SettingsTab::ReplayGain() const {
    return id3v2Check->isChecked() && replayGainCheck->isChecked();
}

bool SettingsTab::EmbedCover() const {
    return embedCoverCheck->isChecked();
}

void SettingsTab::FollowId3v2() {
    for (QCheckBox* box : {embedCoverCheck, replayGainCheck}) {
        box->setEnabled(id3v2Check->isChecked());
    }
}
