// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own cost per row of a run (building the command, starting the encoder, reading
// it, tagging the file, going on to the next row), with a fake encoder that finishes at once,
// and the memory and descriptors a run leaves behind; and the longest the GUI thread is kept
// from its events while the companion encoder encodes the batch bench/batch_vs_lame.sh times.
// Runs offscreen.
#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "filelist/CheckBitmap.h"
#include "filelist/FileListView.h"
#include "kit/AppDefs.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

long OpenDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator{});
}

// A window with a row for each file, writing into `out`.
VambleWindow* OpenWindow(const QStringList& files, const QString& out) {
    auto* window = new VambleWindow(kit::Rect(0, 0, 700, 600));
    window->Inititialize();
    for (int i = 0; i < files.size(); ++i) {
        window->FileList()->AddEntry(QFile::encodeName(files[i]).toStdString(), i);
    }
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (field->accessibleName() == QStringLiteral("Save in:")) {
            field->setText(out);
        }
    }
    // Shown and drawn once, so that what is measured after is the run's.
    window->show();
    while (!window->windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QApplication::processEvents();
    return window;
}

// Presses Encode and handles events until the run has ended; `onEvents` is called between them.
void RunToEnd(VambleWindow* window, const std::function<void()>& onEvents = {}) {
    kit::Message encode(MSG_ENCODE);
    window->MessageReceived(&encode);
    while (window->IsEncoding() || window->FileList()->GetNumItemsNotDone() > 0) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (onEvents) {
            onEvents();
        }
    }
}

void CloseWindow(VambleWindow* window) {
    delete window;
    prefs = new VamblePrefs("Xq-Vamble");
}

// Runs the window over `rows` fresh rows and returns the seconds the run took.
double EncodeRows(const QTemporaryDir& folder, int rows) {
    const QByteArray wav("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
    QStringList files;
    for (int i = 0; i < rows; ++i) {
        files << folder.filePath(QStringLiteral("in/%1.wav").arg(i));
        QFile file(files.back());
        file.open(QIODevice::WriteOnly);
        file.write(wav);
    }
    VambleWindow* window = OpenWindow(files, folder.filePath(QStringLiteral("out")));
    QElapsedTimer timer;
    timer.start();
    RunToEnd(window);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    CloseWindow(window);
    return seconds;
}

void BM_RunOfFakeEncodings(benchmark::State& state) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("in"));
    const auto rows = static_cast<int>(state.range(0));
    double seconds = 0.0;
    for (auto _ : state) {
        seconds = EncodeRows(folder, rows);
        state.SetIterationTime(seconds);
    }
    state.counters["ms_per_row"] = 1000.0 * seconds / rows;
    state.counters["rss_kib"] = static_cast<double>(ResidentKiB());
    state.counters["open_fds"] = static_cast<double>(OpenDescriptors());
}
BENCHMARK(BM_RunOfFakeEncodings)
    ->Arg(10)
    ->Arg(1000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The processor time the calling thread has used, in milliseconds.
double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// How long the calling thread has waited for a processor while it could run, in milliseconds.
double RunQueueMilliseconds() {
    std::ifstream stat("/proc/thread-self/schedstat");
    double running = 0.0;
    double waiting = 0.0;
    stat >> running >> waiting;
    return waiting / 1e6;
}

// 30 seconds of 16-bit stereo at 44,100 Hz: a rising tone and noise, so that the encoder has
// work like music's.
void WriteBatchWav(const QString& path, int seed) {
    constexpr int kRate = 44100;
    constexpr int kFrames = kRate * 30;
    QByteArray data(static_cast<qsizetype>(kFrames) * 4, Qt::Uninitialized);
    uint32_t noise = 12345u + static_cast<uint32_t>(seed);
    double phase = 0.0;
    for (int i = 0; i < kFrames; ++i) {
        phase += 2 * M_PI * (110.0 + 1650.0 * i / kFrames) / kRate;
        noise = noise * 1664525u + 1013904223u;
        const int noisy = static_cast<int>(noise >> 20) - 2048;
        for (int channel = 0; channel < 2; ++channel) {
            const auto sample =
                static_cast<int16_t>(6000 * std::sin(phase) + noisy * (channel + 1));
            data[4 * i + 2 * channel] = static_cast<char>(sample & 0xff);
            data[4 * i + 2 * channel + 1] = static_cast<char>((sample >> 8) & 0xff);
        }
    }
    QByteArray header("RIFF");
    const auto put = [&header](uint32_t value, int bytes) {
        for (int b = 0; b < bytes; ++b) {
            header.append(static_cast<char>((value >> (8 * b)) & 0xff));
        }
    };
    put(36 + static_cast<uint32_t>(data.size()), 4);
    header.append("WAVEfmt ");
    put(16, 4);
    put(1, 2);
    put(2, 2);
    put(kRate, 4);
    put(kRate * 4, 4);
    put(4, 2);
    put(16, 2);
    header.append("data");
    put(static_cast<uint32_t>(data.size()), 4);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(header + data);
}

// The longest time the GUI thread goes without handling its events while the companion encoder
// encodes eight 30-second files, "Files at once:" at its default: the longest gap between the
// firings of a timer that asks to fire every millisecond. "gap" is the wall time; "stall" leaves
// out the time the thread waited for a processor (which other load on a shared machine causes)
// and so is the time it worked or waited for the disk; "busy" is the processor time it used.
void BM_GuiStallDuringBatch(benchmark::State& state) {
    QTemporaryDir folder;
    QStringList files;
    for (int i = 0; i < 8; ++i) {
        files << folder.filePath(QStringLiteral("song%1.wav").arg(i));
        WriteBatchWav(files.back(), i);
    }
    // The companion encoder comes first on the search path for this benchmark.
    const QByteArray path = qgetenv("PATH");
    const QByteArray companion = QFile::encodeName(QFileInfo(QStringLiteral(GOGO_PATH)).path());
    qputenv("PATH", companion + ':' + path);
    double longestGap = 0.0;
    double longestStall = 0.0;
    double longestBusy = 0.0;
    double seconds = 0.0;
    double guiMilliseconds = 0.0;
    for (auto _ : state) {
        QDir(folder.filePath(QStringLiteral("out"))).removeRecursively();
        VambleWindow* window = OpenWindow(files, folder.filePath(QStringLiteral("out")));
        QElapsedTimer run;
        QElapsedTimer sinceTick;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        double busySince = 0.0;
        double queuedSince = 0.0;
        QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
            const double gap = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 1.0;
            sinceTick.restart();
            const double busy = ThreadMilliseconds();
            const double queued = RunQueueMilliseconds();
            longestGap = std::max(longestGap, gap);
            longestStall = std::max(longestStall, gap - (queued - queuedSince));
            longestBusy = std::max(longestBusy, busy - busySince);
            busySince = busy;
            queuedSince = queued;
        });
        run.start();
        sinceTick.start();
        busySince = ThreadMilliseconds();
        queuedSince = RunQueueMilliseconds();
        tick.start();
        const double guiStart = ThreadMilliseconds();
        RunToEnd(window);
        guiMilliseconds = ThreadMilliseconds() - guiStart;
        tick.stop();
        seconds = static_cast<double>(run.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        CloseWindow(window);
    }
    qputenv("PATH", path);
    state.counters["longest_gap_ms"] = longestGap;
    state.counters["longest_stall_ms"] = longestStall;
    state.counters["longest_busy_ms"] = longestBusy;
    // All the GUI thread did during the run, the timer's firings included.
    state.counters["gui_cpu_ms"] = guiMilliseconds;
    state.counters["run_s"] = seconds;
}
BENCHMARK(BM_GuiStallDuringBatch)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    // The fake encoder, first on the search path as "gogo", writing a small file and the marker.
    std::filesystem::create_symlink(FAKE_GOGO_PATH,
                                    home.filePath(QStringLiteral("gogo")).toStdString());
    setenv("PATH", (home.path().toStdString() + ":" + std::getenv("PATH")).c_str(), 1);
    setenv("FAKE_GOGO_MODE", "encode", 1);

    QApplication app(argc, argv);
    prefs = new VamblePrefs("Xq-Vamble");
    checkBitmap = new kit::Bitmap(MakeCheckBitmap());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete prefs;
    delete checkBitmap;
    return 0;
}
