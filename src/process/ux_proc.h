// SPDX-License-Identifier: GPL-3.0-or-later
// Child processes with their standard streams on pipes, and the splitting of a command text
// into an argument vector. Plain functions: they keep no state, report failures as the small
// result codes below and leave errno describing the last system call that failed. They may be
// called from any thread.
#pragma once

#include <cstdint>

// A started child: its process id and the caller's ends of its pipes, -1 where there is none.
// The caller owns the record and the descriptors; ux_pclose and ux_force_pclose close them.
struct ux_proc {
    int32_t pid = -1;    // -1 until a child has been started
    int32_t in_fd = -1;  // write end of the child's standard input, mode "w" only
    int32_t out_fd = -1; // read end of the child's standard output
    int32_t err_fd = -1; // read end of the child's standard error
};

// Result codes of every function of the library.
inline constexpr int UX_OK = 0;
inline constexpr int UX_WAIT_FAILED = 1;    // waiting for the child failed
inline constexpr int UX_BAD_ARGUMENT = 2;   // a required argument is null, or no child started
inline constexpr int UX_NO_MEMORY = 3;      // out of memory while splitting a command
inline constexpr int UX_UNCLOSED_QUOTE = 4; // a double quote in the command is not closed
inline constexpr int UX_PIPE_FAILED = 5;    // creating a pipe failed
inline constexpr int UX_FORK_FAILED = 6;    // creating the child process failed

// Starts `file`, looked up along PATH as execvp does, with the null-terminated `argv`, in `dir`
// unless it is null. The child's standard output and standard error go to pipes (`out_fd`,
// `err_fd`); when `mode` begins with 'w' its standard input comes from a pipe too (`in_fd`),
// otherwise it shares the caller's. The child leads a process group of its own (its id is the
// child's pid), starts with an empty signal mask and default signal dispositions, and keeps no
// descriptor above 2. The caller's pipe ends are close-on-exec. When the program cannot be
// started the child writes "execvp failed for command: ARGV0: REASON\n" to its standard error
// and exits with status 255; the call itself still returns UX_OK.
// Returns UX_OK, UX_BAD_ARGUMENT, UX_PIPE_FAILED or UX_FORK_FAILED.
int ux_popen_vp(ux_proc* proc, const char* mode, const char* dir, const char* file,
                char* const argv[]);

// Splits `command` with ux_malloc_argv_from_command and starts its first word with the whole
// vector as ux_popen_vp does. Returns the splitter's code when splitting fails, else that of
// ux_popen_vp.
int ux_popen_lp(ux_proc* proc, const char* mode, const char* dir, const char* command);

// Waits for the child to end, stores its wait status (as waitpid gives it: WEXITSTATUS and
// friends read it) through `status` and closes the pipes; the record is then reset to no child.
// Stores 0 and returns UX_BAD_ARGUMENT when no child was started. When waiting fails the pipes
// are closed all the same, 1 is stored and UX_WAIT_FAILED returned.
int ux_pclose(ux_proc* proc, int* status);

// Sends the child SIGINT, then does what ux_pclose does.
int ux_force_pclose(ux_proc* proc, int* status);

// Splits `command` into words. Blanks (spaces and tabs) separate words and runs of them count as
// one; leading and trailing blanks make no word. Double quotes group blanks into a word and are
// removed; characters written right before or after a quoted part belong to the same word; a
// backslash is an ordinary character. An empty or all-blank command gives one empty word.
// On success stores the word count and a vector of that many words plus a null pointer (free it
// with ux_free_argv). Returns UX_OK, UX_BAD_ARGUMENT, UX_NO_MEMORY or UX_UNCLOSED_QUOTE (the
// count is then 0 and `argv` is not touched).
int ux_malloc_argv_from_command(const char* command, int* argc, char*** argv);

// Releases a vector made by ux_malloc_argv_from_command. Returns UX_BAD_ARGUMENT for null.
int ux_free_argv(char** argv);
