// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gogotest {
namespace {

constexpr int kTimeoutMs = 120000; // a hung child fails the test instead of hanging it

// Writes into the pipe until it takes no more.
void FillPipe(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    const std::string block(4096, 'x');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    fcntl(fd, F_SETFL, flags);
}

// In the child, before exec.
void PrepareChild(const ChildOptions& options, int out) {
    if (options.fileSizeLimit) {
        const rlimit limit{static_cast<rlim_t>(*options.fileSizeLimit),
                           static_cast<rlim_t>(*options.fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    for (const std::string& entry : options.environment) {
        putenv(const_cast<char*>(entry.c_str()));
    }
    if (options.standardOutput == StandardOutput::Closed) {
        close(STDOUT_FILENO);
    } else {
        dup2(out, STDOUT_FILENO);
    }
    if (options.user && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(*options.user) != 0 || setuid(*options.user) != 0)) {
        _exit(126);
    }
}

} // namespace

Child::Child(const std::vector<std::string>& argv, const ChildOptions& options) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    if (options.standardOutput == StandardOutput::Full) {
        FillPipe(out[1]);
    } else if (options.standardOutput != StandardOutput::Pipe) {
        close(out[0]); // before the child starts, so that it never has a reader
        out[0] = -1;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        PrepareChild(options, out[1]);
        dup2(err[1], STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    errFd_ = err[0];
    (options.standardOutput == StandardOutput::Full ? unreadFd_ : outFd_) = out[0];
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
}

Child::~Child() {
    if (!status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (const int fd : {outFd_, errFd_, unreadFd_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool Child::Pump(bool wantOut) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    if (outFd_ < 0 && errFd_ < 0) {
        return false;
    }
    const int ready = poll(fds, 2, kTimeoutMs);
    if (ready <= 0) {
        if (ready < 0 && errno == EINTR) {
            return true;
        }
        kill(pid_, SIGKILL);
        throw std::runtime_error("the child wrote nothing for two minutes");
    }
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
        int& fd = i == 0 ? outFd_ : errFd_;
        if (fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
            continue;
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            (i == 0 ? out_ : err_).append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            close(fd);
            fd = -1;
        }
    }
    return !wantOut || outFd_ >= 0;
}

bool Child::ReadOutputUntil(const std::function<bool(const std::string& out)>& enough) {
    while (!enough(out_)) {
        if (!Pump(true)) {
            return enough(out_);
        }
    }
    return true;
}

void Child::Signal(int signal) const {
    kill(pid_, signal);
}

int Child::Finish() {
    while (Pump(false)) {
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    status_ = status;
    return status;
}

bool RunResult::Succeeded() const {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

RunResult RunProgram(const std::vector<std::string>& argv, const ChildOptions& options) {
    Child child(argv, options);
    const int status = child.Finish();
    return {status, child.Out(), child.Err()};
}

} // namespace gogotest
