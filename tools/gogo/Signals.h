// SPDX-License-Identifier: GPL-3.0-or-later
// Signals that end the encoder (SIGTERM, SIGINT, SIGHUP) are noted rather than obeyed at once, so
// that the encoder can remove its partial output and say why it stopped.
#pragma once

namespace gogo {

// Also ignores SIGPIPE and SIGXFSZ, so that a closed pipe or a file-size limit makes the write
// fail with an error that the encoder reports.
void InstallSignalHandlers();

// The signal that asked the encoder to stop, or 0.
int PendingSignal();

// Ends the process by the given signal, with its default action, so the parent sees the cause.
[[noreturn]] void EndBySignal(int signal);

} // namespace gogo
