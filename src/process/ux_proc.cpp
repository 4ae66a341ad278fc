// SPDX-License-Identifier: GPL-3.0-or-later
#include "process/ux_proc.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Closes a descriptor that may be -1 without disturbing errno.
void CloseQuietly(int fd) {
    if (fd >= 0) {
        const int saved = errno;
        close(fd);
        errno = saved;
    }
}

struct Pipe {
    int read = -1;
    int write = -1;

    void Close() {
        CloseQuietly(read);
        CloseQuietly(write);
        read = write = -1;
    }
};

// Moves a descriptor above the standard ones, so that the child's dup2 onto 0, 1 and 2 never
// overwrites a pipe end that it has still to move (possible when the caller has closed one of
// its standard streams and pipe2 handed out that number).
bool LiftAboveStandard(int* fd) {
    if (*fd > STDERR_FILENO) {
        return true;
    }
    const int lifted = fcntl(*fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (lifted < 0) {
        return false;
    }
    CloseQuietly(*fd);
    *fd = lifted;
    return true;
}

// A close-on-exec pipe whose ends are both above the standard descriptors.
bool OpenPipe(Pipe* pipe) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    pipe->read = ends[0];
    pipe->write = ends[1];
    if (!LiftAboveStandard(&pipe->read) || !LiftAboveStandard(&pipe->write)) {
        pipe->Close();
        return false;
    }
    return true;
}

// Appends `text` to the bounded buffer at `*used`, cutting what does not fit. Uses only calls
// that are safe in a forked child.
void AppendBounded(char* buffer, size_t capacity, size_t* used, const char* text) {
    const size_t length = strnlen(text, capacity - *used);
    std::memcpy(buffer + *used, text, length);
    *used += length;
}

// Everything the child does between fork and exec. A threaded program's child may only make
// async-signal-safe calls: no allocation, no stdio, no locks. glibc's execvp qualifies (it
// builds the candidate paths on the stack; posix_spawnp runs the same code in its child).
[[noreturn]] void RunChild(const Pipe& input, const Pipe& output, const Pipe& error,
                           const char* dir, const char* file, char* const argv[], long openMax) {
    // Handlers of the caller (the program catches SIGTERM, SIGINT and SIGHUP) must not run in
    // the child, and ignored or blocked signals would make the encoder unstoppable. The
    // caller blocked every signal around fork, so nothing was delivered before this point.
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) {
        sigaction(signal, &defaults, nullptr); // SIGKILL, SIGSTOP and reserved ones refuse
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    setpgid(0, 0);
    if (input.read >= 0) {
        dup2(input.read, STDIN_FILENO);
    }
    dup2(output.write, STDOUT_FILENO);
    dup2(error.write, STDERR_FILENO);
    if (close_range(STDERR_FILENO + 1, ~0U, 0) != 0) {
        for (long fd = STDERR_FILENO + 1; fd < openMax; ++fd) {
            close(static_cast<int>(fd));
        }
    }
    if (dir != nullptr) {
        [[maybe_unused]] const int ignored = chdir(dir);
    }
    execvp(file, argv);

    const int execErrno = errno;
    char message[1024];
    size_t used = 0;
    const char* description = strerrordesc_np(execErrno);
    AppendBounded(message, sizeof message - 1, &used, "execvp failed for command: ");
    AppendBounded(message, sizeof message - 1, &used, argv[0] != nullptr ? argv[0] : file);
    AppendBounded(message, sizeof message - 1, &used, ": ");
    AppendBounded(message, sizeof message - 1, &used,
                  description != nullptr ? description : "Unknown error");
    message[used++] = '\n';
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, used);
    _exit(255);
}

// Waits for the child, closes its pipes and resets the record.
int WaitAndClose(ux_proc* proc, int* status) {
    int waitStatus = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(proc->pid, &waitStatus, 0);
    } while (waited < 0 && errno == EINTR);
    const int waitErrno = errno;
    CloseQuietly(proc->in_fd);
    CloseQuietly(proc->out_fd);
    CloseQuietly(proc->err_fd);
    *proc = ux_proc{};
    if (waited < 0) {
        *status = 1;
        errno = waitErrno;
        return UX_WAIT_FAILED;
    }
    *status = waitStatus;
    return UX_OK;
}

} // namespace

int ux_popen_vp(ux_proc* proc, const char* mode, const char* dir, const char* file,
                char* const argv[]) {
    if (proc == nullptr || mode == nullptr || file == nullptr || argv == nullptr) {
        return UX_BAD_ARGUMENT;
    }
    *proc = ux_proc{};
    const bool pipeInput = mode[0] == 'w';
    Pipe input;
    Pipe output;
    Pipe error;
    if ((pipeInput && !OpenPipe(&input)) || !OpenPipe(&output) || !OpenPipe(&error)) {
        input.Close();
        output.Close();
        error.Close();
        return UX_PIPE_FAILED;
    }
    const long openMax = sysconf(_SC_OPEN_MAX);

    sigset_t all;
    sigset_t saved;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &saved);
    const pid_t pid = fork();
    if (pid == 0) {
        RunChild(input, output, error, dir, file, argv, openMax);
    }
    const int forkErrno = errno;
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);

    CloseQuietly(input.read);
    CloseQuietly(output.write);
    CloseQuietly(error.write);
    if (pid < 0) {
        CloseQuietly(input.write);
        CloseQuietly(output.read);
        CloseQuietly(error.read);
        errno = forkErrno;
        return UX_FORK_FAILED;
    }
    // The child makes itself a group leader too; doing it here as well means the group exists
    // as soon as this call returns, so a caller may signal it at once.
    setpgid(pid, pid);
    proc->pid = pid;
    proc->in_fd = input.write;
    proc->out_fd = output.read;
    proc->err_fd = error.read;
    return UX_OK;
}

int ux_popen_lp(ux_proc* proc, const char* mode, const char* dir, const char* command) {
    int argc = 0;
    char** argv = nullptr;
    const int split = ux_malloc_argv_from_command(command, &argc, &argv);
    if (split != UX_OK) {
        return split;
    }
    const int started = ux_popen_vp(proc, mode, dir, argv[0], argv);
    const int saved = errno;
    ux_free_argv(argv);
    errno = saved;
    return started;
}

int ux_pclose(ux_proc* proc, int* status) {
    if (status != nullptr) {
        *status = 0;
    }
    if (proc == nullptr || status == nullptr || proc->pid <= 0) {
        return UX_BAD_ARGUMENT;
    }
    return WaitAndClose(proc, status);
}

int ux_force_pclose(ux_proc* proc, int* status) {
    if (proc == nullptr || status == nullptr || proc->pid <= 0) {
        return UX_BAD_ARGUMENT;
    }
    if (kill(proc->pid, SIGINT) != 0) {
        std::perror("Error: kill(session_id) failed");
    }
    *status = 0;
    return WaitAndClose(proc, status);
}
