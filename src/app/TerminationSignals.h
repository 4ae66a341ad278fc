// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so that a quit from outside
// the window (a kill, Ctrl+C in the terminal, the terminal closing) takes the window's normal
// close path and the settings are saved. Only one instance may exist at a time.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void(int signalNumber)> handler);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void(int)> onSignal;
    std::unique_ptr<QSocketNotifier> notifier;
};
