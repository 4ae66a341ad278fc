// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the fake encoder (FakeGogo.cpp, built as fake_gogo) on PATH under the name "gogo".
#pragma once

#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

// For the object's life, a temporary folder holding a link "gogo" to the fake goes first on
// PATH, FAKE_GOGO_MODE chooses its behaviour and FAKE_GOGO_LOG has it record each start. The
// destructor puts the three variables back as they were.
class FakeGogoOnPath {
public:
    explicit FakeGogoOnPath(const std::string& mode = "encode");
    ~FakeGogoOnPath();
    FakeGogoOnPath(const FakeGogoOnPath&) = delete;
    FakeGogoOnPath& operator=(const FakeGogoOnPath&) = delete;

    bool IsValid() const { return valid; }
    // Takes effect for encoders started from now on.
    static void SetMode(const std::string& mode);

    struct Invocation {
        long pid = 0;
        std::vector<std::string> args; // argv, the program's name first
        bool running = false;          // the process is still alive
    };
    // Every start of the fake so far, the first first.
    std::vector<Invocation> Invocations() const;

private:
    QTemporaryDir folder;
    bool valid = false;
    std::optional<std::string> savedPath;
    std::optional<std::string> savedMode;
    std::optional<std::string> savedLog;
};
