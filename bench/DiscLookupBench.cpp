// SPDX-License-Identifier: GPL-3.0-or-later
// The disc look-up seen from the window, offscreen: after choosing a disc (a desktop CD folder
// whose device is a disc image libcdio opens), the time until its rows are in the list (the disc
// read into the cache, or kept there from before) and how much later they are named, with the
// answer served by a local web server in a process of its own and, on later choices, kept from
// before; and the window thread's longest stall meanwhile, measured as the longest gap between
// the ticks of a 1 ms timer. Prints one line per round and the medians.
#include "app/VambleApp.h"
#include "app/VamblePrefs.h"
#include "cdaudio/AudioDisc.h"
#include "cdaudio/TrackWav.h"
#include "filelist/CheckBitmap.h"
#include "filelist/FileListView.h"
#include "kit/AppDefs.h"
#include "lookup/DiscIds.h"
#include "lookup/DiscSource.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kTracks = 12;
constexpr int kSectorsPerTrack = 16000; // 3.5 minutes each

// A disc image of kTracks silent tracks and the folder of WAV tracks a desktop mount would show.
void WriteDisc(const QDir& dir) {
    std::ofstream cue(dir.filePath(QStringLiteral("disc.cue")).toStdString());
    cue << "FILE \"disc.bin\" BINARY\n";
    for (int track = 0; track < kTracks; ++track) {
        const int start = track * kSectorsPerTrack;
        char line[96];
        std::snprintf(line, sizeof line, "  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n",
                      track + 1, start / 75 / 60, start / 75 % 60, start % 75);
        cue << line;
    }
    QFile bin(dir.filePath(QStringLiteral("disc.bin")));
    bin.open(QIODevice::WriteOnly);
    bin.resize(qint64{kTracks} * kSectorsPerTrack * 2352); // sparse: silence
    dir.mkpath(QStringLiteral("wav"));
    for (int track = 1; track <= kTracks; ++track) {
        TrackWavWriter(
            dir.filePath(QStringLiteral("wav/Track %1.wav").arg(track, 2, 10, QLatin1Char('0')))
                .toStdString())
            .Finish();
    }
}

// A MusicBrainz answer naming every track, at the path the look-up asks for.
void WriteAnswer(const QDir& served, const QString& discId) {
    served.mkpath(QStringLiteral("ws/2/discid"));
    QString tracks;
    for (int track = 1; track <= kTracks; ++track) {
        // Identifiers are MusicBrainz's: UUIDs.
        tracks += QStringLiteral(R"(%1{"id": "00000000-0000-4000-8000-0000000001%2",
            "position": %3, "title": "Song number %3",
            "recording": {"id": "00000000-0000-4000-8000-0000000002%2"}})")
                      .arg(track == 1 ? QString() : QStringLiteral(","))
                      .arg(track, 2, 10, QLatin1Char('0'))
                      .arg(track);
    }
    QFile file(served.filePath(QStringLiteral("ws/2/discid/") + discId));
    file.open(QIODevice::WriteOnly);
    file.write(
        QStringLiteral(
            R"({"releases": [{"id": "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e", "title": "Bench Album", "date": "2020",
        "artist-credit": [{"name": "Bench Artist", "joinphrase": ""}],
        "cover-art-archive": {"front": false},
        "media": [{"position": 1, "track-count": %1, "discs": [{"id": "%3"}],
                   "tracks": [%2]}]}]})")
            .arg(kTracks)
            .arg(tracks, discId)
            .toUtf8());
}

struct Round {
    double rowsMs = -1; // the disc's rows in the list: read from the disc, or kept from before
    double namedMs = -1;
    double longestStallMs = 0;
};

// Chooses the disc, as the CD pop-up offers it with what the drive told of it, and waits for its
// rows to be named.
Round ChooseDisc(VambleWindow& window, const QDir& disc, const DiscInfo& info) {
    FileListView* list = window.FileList();
    list->Select(0, std::max(0, list->CountItems() - 1));
    kit::Message remove(MSG_REMOVE_ITEMS);
    window.MessageReceived(&remove);

    Round round;
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, &ticks, [&] {
        round.longestStallMs = std::max(round.longestStallMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    kit::Message volume(MSG_CD_VOLUME);
    volume.Add("Volume", std::string("Audio CD"));
    volume.Add("dev_t", int32_t{0});
    volume.Add("Folder", disc.filePath(QStringLiteral("wav")).toStdString());
    volume.Add("Device", disc.filePath(QStringLiteral("disc.cue")).toStdString());
    volume.Add("Disc", info.ToMessage());
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticks.start();
    kit::PostMessage(&window, std::move(volume));
    const auto named = [list] {
        for (int32_t i = 0; i < list->CountItems(); ++i) {
            if (static_cast<const AudioItem*>(list->ItemAt(i))->release.album.empty()) {
                return false;
            }
        }
        return list->CountItems() == kTracks;
    };
    while (!named() && clock.elapsed() < 30000) {
        if (round.rowsMs < 0 && list->CountItems() == kTracks) {
            round.rowsMs = clock.nsecsElapsed() / 1e6;
        }
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    round.namedMs = named() ? clock.nsecsElapsed() / 1e6 : -1;
    if (round.rowsMs < 0) {
        round.rowsMs = round.namedMs;
    }
    return round;
}

void Pause(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
    setenv("VAMBLE_MODULE_DIR", VAMBLE_MODULE_PATH, 0);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    const QDir root(home.path());
    root.mkpath(QStringLiteral("disc"));
    const QDir disc(root.filePath(QStringLiteral("disc")));
    WriteDisc(disc);
    root.mkpath(QStringLiteral("served"));
    const QDir served(root.filePath(QStringLiteral("served")));

    // The services: a web server of Python's in a process of its own.
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("--bind"),
                  QStringLiteral("127.0.0.1"), QStringLiteral("48231"),
                  QStringLiteral("--directory"), served.path()});
    for (QTcpSocket probe; probe.state() != QAbstractSocket::ConnectedState;) {
        probe.connectToHost(QStringLiteral("127.0.0.1"), 48231);
        probe.waitForConnected(100);
    }
    for (const char* service :
         {"VAMBLE_MUSICBRAINZ_URL", "VAMBLE_COVERART_URL", "VAMBLE_GNUDB_URL"}) {
        setenv(service, "http://127.0.0.1:48231", 1);
    }

    prefs = new VamblePrefs("Xq-Vamble");
    checkBitmap = new kit::Bitmap(MakeCheckBitmap());
    auto* window = new VambleWindow(kit::Rect(0, 0, 700, 600));
    window->Inititialize();
    window->show();

    const DiscInfo info = *ProbeAudioDisc(disc.filePath(QStringLiteral("disc.cue")).toStdString());
    WriteAnswer(served,
                QString::fromStdString(ComputeDiscIds(DiscSourceOf(info)->toc)->musicBrainz));
    std::vector<double> online;
    std::vector<double> kept;
    std::vector<double> stalls;
    for (int i = 0; i <= rounds; ++i) {
        const QString cache = root.filePath(QStringLiteral("cache%1").arg(i));
        setenv("XDG_CACHE_HOME", cache.toLocal8Bit().constData(), 1);
        if (i == 0) {
            const Round first = ChooseDisc(*window, disc, info);
            std::printf("first choice (loads the look-up module): named after %.1f ms, longest "
                        "stall %.1f ms\n",
                        first.namedMs, first.longestStallMs);
            continue;
        }
        Pause(1100); // the services' pace: one request a second
        const Round asked = ChooseDisc(*window, disc, info);
        Pause(200); // the answer is kept on a thread of its own
        const Round again = ChooseDisc(*window, disc, info);
        std::printf("round %d: rows after %.1f ms, named %.1f ms later (answer served); rows after "
                    "%.1f ms, named %.1f ms later (answer kept); longest stall %.1f ms, %.1f ms\n",
                    i, asked.rowsMs, asked.namedMs - asked.rowsMs, again.rowsMs,
                    again.namedMs - again.rowsMs, asked.longestStallMs, again.longestStallMs);
        online.push_back(asked.namedMs - asked.rowsMs);
        kept.push_back(again.namedMs - again.rowsMs);
        stalls.push_back(std::max(asked.longestStallMs, again.longestStallMs));
    }
    std::printf("median: named %.1f ms after the rows came (answer served), %.1f ms (answer "
                "kept); longest stall "
                "%.1f ms (median), %.1f ms (worst)\n",
                Median(online), Median(kept), Median(stalls),
                stalls.empty() ? 0 : *std::max_element(stalls.begin(), stalls.end()));
    delete window;
    server.terminate();
    server.waitForFinished();
    delete checkBitmap;
    return 0;
}
