// SPDX-License-Identifier: GPL-3.0-or-later
// The window's settings as the settings file keeps them, each named once: its key, how the file
// stores it, its default and how the control shows it. Loading and saving walk the same table.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

class EncoderTab;
class QAction;
class QString;
class SettingsTab;
class VamblePrefs;

// A number (a check box's 0 or 1, a spin control's value) or a text.
using SettingValue = std::variant<int32_t, std::string>;

struct WindowSetting {
    // Int8 and Int32 settings are created with their default when the file has none, as a
    // window loads them; a String setting is stored only when the window saves it.
    enum class Type { Int8, Int32, String };
    const char* key;
    Type type;
    SettingValue byDefault;
    // Puts a loaded value into the control.
    std::function<void(const SettingValue&)> show;
    // The control's value, to save.
    std::function<SettingValue()> value;
};

// Loads each setting, in the table's order, and shows it.
void LoadSettings(VamblePrefs& store, const std::vector<WindowSetting>& table);
// Saves each setting, in the table's order; an Int8 beyond its range is saved at the nearest end.
void SaveSettings(VamblePrefs& store, const std::vector<WindowSetting>& table);

// What the window's settings are shown in.
struct WindowControls {
    EncoderTab& encoder;
    SettingsTab& options;
    // The Columns menu's items, in column order.
    std::array<QAction*, 5> columnItems;
    // Shows or hides a column of the list.
    std::function<void(int column, bool shown)> showColumn;
    // The pattern "Tags from File Names…" offers.
    QString& nameTagPattern;
    int processorCount;
};
// Every setting the window keeps, in the order it loads them.
std::vector<WindowSetting> WindowSettingsTable(const WindowControls& controls);
