// SPDX-License-Identifier: GPL-3.0-or-later
// The worker's own cost per row: splitting the command, starting the encoder, reading its pipes
// to their end and reaping it, with a fake encoder that exits at once. The bare spawn and wait
// of the same program is measured beside it, so the difference is what the worker adds.
#include "encoding/EncodeRun.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

namespace {

constexpr const char* kArguments = " in.wav out.mp3 -b 128 -cpu 1 -m s -priority 10";

void BM_RunEncoder(benchmark::State& state) {
    setenv("FAKE_GOGO_MODE", "quick", 1);
    std::FILE* quiet = std::fopen("/dev/null", "w");
    const std::string command = std::string(FAKE_GOGO_PATH) + kArguments;
    const EncodeStop stop;
    for (auto _ : state) {
        const EncodeOutcome outcome = RunEncoder(
            command, stop, [](float) {}, quiet);
        if (!outcome.encoded) {
            state.SkipWithError("the fake encoder failed");
            break;
        }
    }
    std::fclose(quiet);
}
BENCHMARK(BM_RunEncoder)->Unit(benchmark::kMicrosecond);

void BM_SpawnAndWait(benchmark::State& state) {
    setenv("FAKE_GOGO_MODE", "quick", 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char program[] = FAKE_GOGO_PATH;
    char in[] = "in.wav";
    char out[] = "out.mp3";
    char* argv[] = {program, in, out, nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("posix_spawn failed");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_SpawnAndWait)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
