// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowSettings.h"

#include "app/VamblePrefs.h"
#include "window/EncoderTab.h"
#include "window/NameTagsDialog.h"
#include "window/SettingsTab.h"

#include <QAction>
#include <algorithm>
#include <cstdint>

namespace {

int8_t AsInt8(const SettingValue& value) {
    return static_cast<int8_t>(std::clamp<int32_t>(std::get<int32_t>(value), INT8_MIN, INT8_MAX));
}

// A check box kept as 0 or 1.
WindowSetting Flag(const char* key, bool byDefault, QCheckBox* box) {
    return {key, WindowSetting::Type::Int8, int32_t{byDefault ? 1 : 0},
            [box](const SettingValue& value) { box->setChecked(std::get<int32_t>(value) == 1); },
            [box] { return SettingValue{box->isChecked() ? 1 : 0}; }};
}

WindowSetting Number(const char* key, int32_t byDefault, kit::SpinButton* spin) {
    return {key, WindowSetting::Type::Int8, byDefault,
            [spin](const SettingValue& value) { spin->SetValue(std::get<int32_t>(value)); },
            [spin] { return SettingValue{spin->Value()}; }};
}

// A text field; an empty stored text leaves the field's own text. Only an e-mail address loses
// its surrounding blanks: a folder's name may end in one.
WindowSetting Text(const char* key, kit::TextControl* field, bool trimmed = false) {
    return {key, WindowSetting::Type::String, std::string(),
            [field](const SettingValue& value) {
                if (const auto& text = std::get<std::string>(value); !text.empty()) {
                    field->SetText(QString::fromStdString(text));
                }
            },
            [field, trimmed] {
                const QString text = field->Text();
                return SettingValue{(trimmed ? text.trimmed() : text).toStdString()};
            }};
}

} // namespace

void LoadSettings(VamblePrefs& store, const std::vector<WindowSetting>& table) {
    for (const WindowSetting& setting : table) {
        switch (setting.type) {
        case WindowSetting::Type::Int8:
            setting.show(int32_t{store.SetInt8(setting.key, AsInt8(setting.byDefault))});
            break;
        case WindowSetting::Type::Int32:
            setting.show(store.SetInt32(setting.key, std::get<int32_t>(setting.byDefault)));
            break;
        case WindowSetting::Type::String:
            setting.show(store.GetString(setting.key, std::get<std::string>(setting.byDefault)));
            break;
        }
    }
}

void SaveSettings(VamblePrefs& store, const std::vector<WindowSetting>& table) {
    for (const WindowSetting& setting : table) {
        const SettingValue value = setting.value();
        switch (setting.type) {
        case WindowSetting::Type::Int8:
            store.SetInt8(setting.key, AsInt8(value));
            break;
        case WindowSetting::Type::Int32:
            store.SetInt32(setting.key, std::get<int32_t>(value));
            break;
        case WindowSetting::Type::String:
            store.SetString(setting.key, std::get<std::string>(value));
            break;
        }
    }
}

std::vector<WindowSetting> WindowSettingsTable(const WindowControls& controls) {
    std::vector<WindowSetting> table = {
        Flag("VBRState", false, controls.encoder.vbrCheck),
        Number("CPUCount", controls.processorCount, controls.encoder.cpuSpin),
        Number("VBRCount", 0, controls.encoder.vbrSpin),
        Number("threadpriority", 10, controls.encoder.prioritySpin),
        Flag("mp3ext", true, controls.options.mp3ExtensionCheck),
        Flag("deleteFile", false, controls.encoder.deleteInputCheck),
        Flag("nopsy", false, controls.encoder.noPsyCheck),
        Flag("id3v2", true, controls.options.id3v2Check),
        Flag("EmbedCoverArt", true, controls.options.embedCoverCheck),
        Flag("ReplayGain", false, controls.options.replayGainCheck),
    };
    // A stored 0 hides a column; the "Output File" column is hidden until asked for.
    const std::array<const char*, 5> columnKeys = {"TrackC", "FileNC", "SaveAsC", "PathC",
                                                   "OutputC"};
    for (size_t i = 0; i < columnKeys.size(); ++i) {
        QAction* item = controls.columnItems[i];
        table.push_back({columnKeys[i], WindowSetting::Type::Int8, int32_t{i < 4 ? 1 : 0},
                         [show = controls.showColumn, item, i](const SettingValue& value) {
                             const bool shown = std::get<int32_t>(value) != 0;
                             show(static_cast<int>(i), shown);
                             item->setChecked(shown);
                         },
                         [item] { return SettingValue{item->isChecked() ? 1 : 0}; }});
    }
    EncoderTab* encoder = &controls.encoder;
    table.push_back(
        {"Bits", WindowSetting::Type::Int32, 128,
         [encoder](const SettingValue& value) {
             encoder->bitratePopUp->MarkItemLabeled(QString::number(std::get<int32_t>(value)));
         },
         [encoder] {
             return SettingValue{
                 static_cast<int32_t>(std::strtol(encoder->Bits().c_str(), nullptr, 10))};
         }});
    table.push_back(
        {"OutputFormat", WindowSetting::Type::String, std::string("stereo"),
         [encoder](const SettingValue& value) {
             const auto& format = std::get<std::string>(value);
             const char first = format.empty() ? '\0' : format.front();
             encoder->outputFormatPopUp->MarkItem(first == 'm' ? 1 : first == 's' ? 0 : 2);
         },
         [encoder] { return SettingValue{encoder->OutputFormat()}; }});
    table.push_back(Text("OutputDir", controls.encoder.saveInText));
    table.push_back(Text("outPutFileName", controls.options.outputNameText));
    table.push_back(Flag("EnableTooltips", true, controls.options.tooltipsCheck));
    // Files encode one per processor: a user who never opens the tab gets the speed, with a
    // few processors left over on large machines.
    table.push_back(Number("FilesAtOnce", std::min(controls.processorCount, 4),
                           controls.options.filesAtOnceSpin));
    table.push_back(Flag("LookUpDiscs", true, controls.options.lookupOnlineCheck));
    QString* pattern = &controls.nameTagPattern;
    table.push_back({"TagsFromNamesPattern", WindowSetting::Type::String,
                     std::string(NameTagsDialog::kDefaultPattern),
                     [pattern](const SettingValue& value) {
                         *pattern = QString::fromStdString(std::get<std::string>(value));
                     },
                     [pattern] { return SettingValue{pattern->toStdString()}; }});
    table.push_back(Text("GnudbEmail", controls.options.gnudbEmailText, true));
    return table;
}
