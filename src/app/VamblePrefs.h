// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Locker.h"
#include "kit/Message.h"

#include <filesystem>
#include <string>

// The user's settings between runs: a typed message that reads itself from one settings file
// when it is created and writes itself back when it is destroyed.
//
// Every Set operation doubles as a get-with-default: it returns the value stored under the key
// when there is one (and stores the new value in its place), and otherwise adds the given value
// and returns it. A key holds one type only; a Set of another type finds nothing, returns the
// given value and stores nothing.
class VamblePrefs : public kit::Message, public kit::Locker {
public:
    // Reads "<settings folder>/<fileName>" when it can; anything unreadable gives an empty store.
    explicit VamblePrefs(const char* fileName);
    // Writes the whole store to the settings file, replacing it atomically (in place when the
    // folder allows no temporary file), and creates the settings folder when it is missing. A
    // failure is told on standard error with the path and the reason.
    virtual ~VamblePrefs();

    VamblePrefs(const VamblePrefs&) = delete;
    VamblePrefs& operator=(const VamblePrefs&) = delete;

    kit::Rect SetRect(const char* name, kit::Rect value);
    kit::Point SetPoint(const char* name, kit::Point value);
    std::string SetString(const char* name, const std::string& value);
    double SetDouble(const char* name, double value);
    float SetFloat(const char* name, float value);
    int64_t SetInt64(const char* name, int64_t value);
    int32_t SetInt32(const char* name, int32_t value);
    int16_t SetInt16(const char* name, int16_t value);
    int8_t SetInt8(const char* name, int8_t value);
    bool SetBool(const char* name, bool value);
    kit::status_t SetMessage(const char* name, const kit::Message& value);
    kit::status_t SetFlat(const char* name, const kit::Flattenable& value);

    // The stored string, or the default when none is stored under that name; stores nothing.
    std::string GetString(const char* name, const std::string& defaultValue);

    // The full path of the settings file; empty when there is no settings folder.
    const std::filesystem::path& SettingsPath() const { return settingsPath; }

    // How long a Set operation waits for the store's lock before giving up.
    static constexpr int64_t kLockTimeout = 1'000'000;

private:
    template <class T> T SetValue(const char* name, const T& value, const T& onLockFailure);

    std::filesystem::path settingsPath;
};
