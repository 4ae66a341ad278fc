// The "Get Files from CD:" pop-up: listing the audio CDs, adding a chosen CD's tracks, and
// reading a disc that no mount presents as a folder, with its progress in the status area.
#include "cdaudio/AudioCdLister.h"
#include "cdaudio/DiscReadWorker.h"
#include "cdaudio/DiscReader.h"
#include "cdaudio/TrackFiles.h"
#include "cdaudio/VolumeName.h"
#include "filelist/FileListView.h"
#include "window/VambleWindow.h"
#include "window/WindowMessages.h"

#include <QComboBox>
#include <QLabel>
#include <cstdio>

void VambleWindow::CheckForCDs() {
    std::printf("Checking CD.\n");
    std::fflush(stdout);
    QComboBox* menu = cdPopUp->Menu();
    // Adding to an empty pop-up would mark the first item; the mark stays as it was.
    const int marked = cdPopUp->MarkedIndex();
    for (const AudioCd& cd : FindAudioCds(SystemCdSearchPlaces())) {
        kit::Message volume(MSG_CD_VOLUME);
        volume.Add("Volume", cd.label);
        volume.Add("Device", cd.device);
        volume.Add("dev_t", cd.deviceNumber);
        // Where the tracks are; empty for a disc that is read into a folder when chosen.
        volume.Add("Folder", cd.folder.string());
        menu->addItem(QString::fromStdString(cd.label), volume.Flatten());
    }
    cdPopUp->MarkItem(marked);
}

void VambleWindow::SendCDVolume(int index) {
    kit::Message volume;
    if (volume.Unflatten(cdPopUp->Menu()->itemData(index).toByteArray()) == kit::B_OK) {
        kit::PostMessage(this, std::move(volume));
    }
}

void VambleWindow::RescanCDs() {
    // Removes the items and the label the last choice left.
    cdPopUp->Menu()->clear();
    CheckForCDs();
}

void VambleWindow::GetFilesFromCD(const kit::Message& volume) {
    int32_t deviceNumber = 0;
    std::string name;
    if (volume.Find("dev_t", &deviceNumber) != kit::B_OK ||
        volume.Find("Volume", &name) != kit::B_OK) {
        return;
    }
    std::string folder;
    std::string device;
    volume.Find("Device", &device);
    if (volume.Find("Folder", &folder) == kit::B_OK && !folder.empty()) {
        AddCDTracks(folder, name, device);
        return;
    }
    if (device.empty() || (cdReader && cdReader->IsRunning())) {
        return;
    }
    // Reading and encoding share the status area and the Stop button.
    if (IsEncoding()) {
        ShowAlert(QStringLiteral("The CD can be read once encoding has finished or is stopped."));
        return;
    }
    if (!cdReader) {
        cdReader = std::make_unique<DiscReadWorker>(this);
    }
    cdReadRun = cdReader->Start(device, DiscCacheFolder());
    if (cdReadRun >= 0) {
        SetCDReading(true);
    }
}

void VambleWindow::AddCDTracks(const std::filesystem::path& folder, const std::string& name,
                               const std::string& device) {
    const std::optional<std::vector<TrackFile>> tracks = ListTrackFiles(folder);
    if (!tracks) {
        return;
    }
    const ArtistAlbum tags = SplitVolumeName(name);
    std::vector<int64_t> added;
    for (const TrackFile& track : *tracks) {
        AudioItem* row = fileList->AddEntry(track.path, track.track);
        if (row == nullptr) {
            continue;
        }
        added.push_back(row->Id());
        if (!tags.album.empty()) {
            row->SetAlbum(tags.album.c_str());
        }
        if (!tags.artist.empty()) {
            row->SetArtist(tags.artist.c_str());
        }
    }
    NameDiscRows(device, std::move(added));
}

void VambleWindow::SetCDReading(bool reading) {
    ShowRunning(reading);
    cdPopUp->setEnabled(!reading);
    progressBar->SetFraction(0.0f);
    encodingFileText->setText(reading ? QStringLiteral("Reading CD…")
                                      : QStringLiteral("Encoding File: "));
}

void VambleWindow::ShowCDReadProgress(const kit::Message& progress) {
    int32_t run = -1;
    int32_t track = 0;
    int32_t index = 0;
    int32_t count = 0;
    double fraction = 0.0;
    if (progress.Find("run", &run) != kit::B_OK || run != cdReadRun ||
        progress.Find("fraction", &fraction) != kit::B_OK) {
        return;
    }
    progress.Find("track", &track);
    progress.Find("index", &index);
    progress.Find("count", &count);
    progressBar->SetFraction(static_cast<float>(fraction));
    encodingFileText->setText(
        QStringLiteral("Reading CD track %1 (%2 of %3)").arg(track).arg(index).arg(count));
}

void VambleWindow::FinishCDRead(const kit::Message& done) {
    int32_t run = -1;
    if (done.Find("run", &run) != kit::B_OK || run != cdReadRun) {
        return;
    }
    cdReadRun = -1;
    SetCDReading(false);
    bool stopped = false;
    std::string name;
    std::string folder;
    std::string error;
    std::string device;
    done.Find("stopped", &stopped);
    done.Find("Device", &device);
    done.Find("Volume", &name);
    done.Find("Folder", &folder);
    done.Find("error", &error);
    if (stopped) {
        return;
    }
    // After a read error the tracks read whole before it are added all the same.
    if (!folder.empty()) {
        AddCDTracks(folder, name, device);
    }
    if (!error.empty()) {
        ShowAlert(QString::fromStdString(error));
    }
}

void VambleWindow::StopCDRead() {
    if (cdReader) {
        cdReader->Stop();
    }
}
