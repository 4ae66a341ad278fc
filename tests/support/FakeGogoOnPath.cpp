// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeGogoOnPath.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::optional<std::string> GetVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void RestoreVariable(const char* name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

// Alive and not a zombie.
bool IsAlive(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return false;
    }
    const size_t nameEnd = line.rfind(')');
    return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] != 'Z';
}

} // namespace

FakeGogoOnPath::FakeGogoOnPath(const std::string& mode)
    : savedPath(GetVariable("PATH")), savedMode(GetVariable("FAKE_GOGO_MODE")),
      savedLog(GetVariable("FAKE_GOGO_LOG")) {
    const std::filesystem::path root = folder.path().toStdString();
    std::error_code error;
    std::filesystem::create_directory(root / "bin", error);
    std::filesystem::create_directory(root / "log", error);
    std::filesystem::create_symlink(FAKE_GOGO_PATH, root / "bin" / "gogo", error);
    valid = folder.isValid() && !error;
    const std::string path = (root / "bin").string() + (savedPath ? ":" + *savedPath : "");
    setenv("PATH", path.c_str(), 1);
    setenv("FAKE_GOGO_LOG", (root / "log").c_str(), 1);
    SetMode(mode);
}

FakeGogoOnPath::~FakeGogoOnPath() {
    RestoreVariable("PATH", savedPath);
    RestoreVariable("FAKE_GOGO_MODE", savedMode);
    RestoreVariable("FAKE_GOGO_LOG", savedLog);
}

void FakeGogoOnPath::SetMode(const std::string& mode) {
    setenv("FAKE_GOGO_MODE", mode.c_str(), 1);
}

std::vector<FakeGogoOnPath::Invocation> FakeGogoOnPath::Invocations() const {
    std::vector<std::pair<long long, Invocation>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(
             folder.filePath(QStringLiteral("log")).toStdString(), error)) {
        std::ifstream file(entry.path());
        long long started = 0;
        file >> started;
        file.ignore(1);
        Invocation invocation;
        invocation.pid = std::stol(entry.path().stem().string());
        for (std::string arg; std::getline(file, arg);) {
            invocation.args.push_back(arg);
        }
        invocation.running = entry.path().extension() == ".running" && IsAlive(invocation.pid);
        found.emplace_back(started, std::move(invocation));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Invocation> invocations;
    for (auto& [started, invocation] : found) {
        invocations.push_back(std::move(invocation));
    }
    return invocations;
}
