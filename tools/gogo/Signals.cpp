// SPDX-License-Identifier: GPL-3.0-or-later
#include "Signals.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace gogo {
namespace {

volatile std::sig_atomic_t pendingSignal = 0;

extern "C" void NoteSignal(int signal) {
    pendingSignal = signal;
}

} // namespace

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a write blocked on a full pipe returns to check
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

int PendingSignal() {
    return pendingSignal;
}

void EndBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);
}

} // namespace gogo
