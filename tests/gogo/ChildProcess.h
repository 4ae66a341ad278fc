// Runs a program (found along PATH) with its standard output and standard error on pipes, for the
// encoder's tests.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace gogotest {

struct ChildOptions {
    int stdoutPipeSize = 0;            // bytes; 0 keeps the system's size
    std::optional<long> fileSizeLimit; // RLIMIT_FSIZE of the child, in bytes
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
