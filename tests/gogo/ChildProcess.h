// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program (found along PATH) with its standard output and standard error on pipes, for the
// encoder's tests.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace gogotest {

// What the child's standard output is.
enum class StandardOutput {
    Pipe,     // a pipe the test reads
    Closed,   // no descriptor at all
    NoReader, // a pipe whose reading end is closed
    Full,     // a pipe filled to the brim that nobody reads
};

struct ChildOptions {
    std::optional<long> fileSizeLimit; // RLIMIT_FSIZE of the child, in bytes
    StandardOutput standardOutput = StandardOutput::Pipe;
    std::vector<std::string> environment; // NAME=value entries added to the child's environment
    std::optional<uid_t> user; // run as this user id (and the group id of that number) when root
};

class Child {
public:
    explicit Child(const std::vector<std::string>& argv, const ChildOptions& options = {});
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }

    // Reads standard output (collecting standard error on the way) until `enough` is true of
    // what was read so far or the output ends. Returns whether `enough` became true.
    bool ReadOutputUntil(const std::function<bool(const std::string& out)>& enough);

    void Signal(int signal) const;

    // Reads both pipes to their end and waits for the child; returns its wait status.
    int Finish();

    const std::string& Out() const { return out_; }
    const std::string& Err() const { return err_; }

private:
    // Reads whatever arrives within the time limit; false when nothing more will come.
    bool Pump(bool wantOut);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int unreadFd_ = -1; // the reading end of a full standard output, kept open unread
    std::string out_;
    std::string err_;
    std::optional<int> status_;
};

struct RunResult {
    int status = -1; // wait status
    std::string out;
    std::string err;
    bool Succeeded() const;
};

RunResult RunProgram(const std::vector<std::string>& argv, const ChildOptions& options = {});

} // namespace gogotest
