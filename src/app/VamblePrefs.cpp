// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VamblePrefs.h"

#include "kit/OwnFiles.h"

#include <QFile>
#include <QStandardPaths>
#include <cstdio>
#include <system_error>

namespace {

constexpr uint32_t kPrefsWhat = kit::FourCC("pref");

// Holds the store's lock for a scope, when it could be taken within the time limit.
class TimedGuard {
public:
    explicit TimedGuard(kit::Locker& locker)
        : lock(locker), held(locker.LockWithTimeout(VamblePrefs::kLockTimeout) == kit::B_OK) {}
    ~TimedGuard() {
        if (held) {
            lock.Unlock();
        }
    }
    TimedGuard(const TimedGuard&) = delete;
    TimedGuard& operator=(const TimedGuard&) = delete;
    bool Held() const { return held; }

private:
    kit::Locker& lock;
    bool held;
};

std::filesystem::path SettingsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) {
        return {};
    }
    return {QFile::encodeName(folder).toStdString()};
}

// Writes the archive as the settings file, replacing it whole (in place where the folder lets no
// new file be made beside it); gives the reason when it could not, else nothing. The folder is
// often missing on a fresh Linux account, so it is created.
QString WriteArchive(const std::filesystem::path& path, const QByteArray& archive) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        return QString::fromStdString(error.message());
    }
    return kit::ReplaceFile(path, archive, true);
}

} // namespace

VamblePrefs::VamblePrefs(const char* fileName) : kit::Message(kPrefsWhat) {
    const std::filesystem::path folder = SettingsFolder();
    if (folder.empty()) {
        return;
    }
    settingsPath = folder / fileName;
    QFile file(QFile::decodeName(settingsPath.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    // A damaged file, or another program's archive, counts as no settings at all.
    if (Unflatten(file.readAll()) != kit::B_OK || what != kPrefsWhat) {
        MakeEmpty();
    }
    what = kPrefsWhat;
}

VamblePrefs::~VamblePrefs() {
    if (settingsPath.empty()) {
        return;
    }
    const QString failure = WriteArchive(settingsPath, Flatten());
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "vamble: the settings could not be saved to %s: %s\n",
                     settingsPath.c_str(), failure.toLocal8Bit().constData());
    }
}

template <class T>
T VamblePrefs::SetValue(const char* name, const T& value, const T& onLockFailure) {
    TimedGuard guard(*this);
    if (!guard.Held()) {
        return onLockFailure;
    }
    T previous{};
    if (Find(name, 0, &previous) == kit::B_OK) {
        Replace(name, 0, value);
        return previous;
    }
    Add(name, value);
    return value;
}

kit::Rect VamblePrefs::SetRect(const char* name, kit::Rect value) {
    return SetValue(name, value, kit::Rect(0, 0, -1, -1));
}

kit::Point VamblePrefs::SetPoint(const char* name, kit::Point value) {
    return SetValue(name, value, kit::Point());
}

std::string VamblePrefs::SetString(const char* name, const std::string& value) {
    return SetValue(name, value, std::string());
}

double VamblePrefs::SetDouble(const char* name, double value) {
    return SetValue(name, value, 0.0);
}

float VamblePrefs::SetFloat(const char* name, float value) {
    return SetValue(name, value, 0.0f);
}

int64_t VamblePrefs::SetInt64(const char* name, int64_t value) {
    return SetValue<int64_t>(name, value, 0);
}

int32_t VamblePrefs::SetInt32(const char* name, int32_t value) {
    return SetValue<int32_t>(name, value, 0);
}

int16_t VamblePrefs::SetInt16(const char* name, int16_t value) {
    return SetValue<int16_t>(name, value, 0);
}

int8_t VamblePrefs::SetInt8(const char* name, int8_t value) {
    return SetValue<int8_t>(name, value, 0);
}

bool VamblePrefs::SetBool(const char* name, bool value) {
    return SetValue(name, value, false);
}

kit::status_t VamblePrefs::SetMessage(const char* name, const kit::Message& value) {
    TimedGuard guard(*this);
    if (!guard.Held()) {
        return kit::B_TIMED_OUT;
    }
    return Has<kit::Message>(name) ? Replace(name, 0, value) : Add(name, value);
}

kit::status_t VamblePrefs::SetFlat(const char* name, const kit::Flattenable& value) {
    TimedGuard guard(*this);
    if (!guard.Held()) {
        return kit::B_TIMED_OUT;
    }
    uint32_t type = 0;
    int32_t count = 0;
    if (GetInfo(name, &type, &count) == kit::B_OK && value.AllowsTypeCode(type)) {
        return ReplaceFlat(name, 0, value);
    }
    return AddFlat(name, value);
}

std::string VamblePrefs::GetString(const char* name, const std::string& defaultValue) {
    TimedGuard guard(*this);
    std::string stored;
    if (guard.Held() && Find(name, 0, &stored) == kit::B_OK) {
        return stored;
    }
    return defaultValue;
}
