// The window's own cost per row of a run (building the command, starting the encoder, reading
// it, tagging the file, going on to the next row), with a fake encoder that finishes at once,
// and the memory and descriptors a run leaves behind. Runs offscreen.
#include "app/CheckBitmap.h"
#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "filelist/FileListView.h"
#include "kit/AppDefs.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

// Runs the window over `rows` fresh rows and returns the seconds the run took.
double EncodeRows(const QTemporaryDir& folder, int rows) {
    auto* window = new VambleWindow(kit::Rect(0, 0, 700, 600));
    window->Inititialize();
    FileListView* list = window->FileList();
    const QByteArray wav("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
    for (int i = 0; i < rows; ++i) {
        const QString path = folder.filePath(QStringLiteral("in/%1.wav").arg(i));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(wav);
        file.close();
        list->AddEntry(QFile::encodeName(path).toStdString(), i);
    }
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (field->accessibleName() == QStringLiteral("Save in:")) {
            field->setText(folder.filePath(QStringLiteral("out")));
        }
    }
    QElapsedTimer timer;
    timer.start();
    kit::Message encode(MSG_ENCODE);
    window->MessageReceived(&encode);
    while (list->GetNumItemsNotDone() > 0) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    delete window;
    prefs = new VamblePrefs("Xq-Vamble");
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
