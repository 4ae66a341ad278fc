// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowSettings.h"

#include "app/VamblePrefs.h"

#include <algorithm>
#include <cstdint>

namespace {

int8_t AsInt8(const SettingValue& value) {
    return static_cast<int8_t>(std::clamp<int32_t>(std::get<int32_t>(value), INT8_MIN, INT8_MAX));
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
