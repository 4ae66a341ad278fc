// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowSettings.h"

#include "app/VamblePrefs.h"

#include <algorithm>
#include <limits>

namespace {

int8_t AsInt8(const SettingValue& value) {
    constexpr int32_t kLow = std::numeric_limits<int8_t>::min();
    constexpr int32_t kHigh = std::numeric_limits<int8_t>::max();
    return static_cast<int8_t>(std::clamp(std::get<int32_t>(value), kLow, kHigh));
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
