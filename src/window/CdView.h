// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the audio CD flow: the "Get Files from CD:" pop-up, the rows a CD gives,
// a disc's reading in the status area, the questions about damaged tracks, releases and the
// cache, and the names a look-up finds. The flow (disc/DiscFlow.h) does the work and decides;
// its answers find the rows again by their identity and touch only those still in the list and
// not encoded yet.
#pragma once

#include "disc/DiscFlow.h"
#include "kit/Layout.h"
#include "kit/Message.h"

#include <QCoreApplication>
#include <functional>
#include <memory>

class FileListView;
class SettingsTab;
namespace kit {
class ElidedLabel;
class ProgressBar;
} // namespace kit

class CdView final : private DiscFlow::Hooks {
    // Its texts belong to the window's translation context, as the window's other texts do.
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    // What of the window the CD view uses.
    struct WindowParts {
        QWidget* window;
        FileListView* list;
        kit::ElidedLabel* status;
        kit::ProgressBar* bar;
        const SettingsTab* options;
        // Whether an encoding run goes on or is about to begin.
        std::function<bool()> encoding;
        // Encode and Stop as for a run (true) or for none.
        std::function<void(bool)> showRunning;
        // Rows took names from a look-up: the tag fields and the output names follow.
        std::function<void()> namesChanged;
    };
    explicit CdView(WindowParts parts);

    // The pop-up; its items send MSG_CD_VOLUME messages to the window.
    [[nodiscard]] kit::PopUp* PopUp() const { return popUp; }
    [[nodiscard]] DiscFlow& Flow() { return flow; }
    [[nodiscard]] bool Reading() const { return flow.Reading(); }

    // Looks for audio CDs in the background; the pop-up gains an item for each one found, the
    // mark staying as it was.
    void Scan();
    // Empties the pop-up and its label, and scans again.
    void Rescan();
    // A CD chosen in the pop-up: its tracks become rows, after reading the disc into the cache
    // when it has no folder. A disc's reading and an encoding run exclude each other.
    void Choose(const kit::Message& volume);
    // Says what the cache of read discs holds and clears it when the user agrees.
    void ClearCache();
    // "Look Up Again": the selected rows of each disc, not encoded yet, asking the services anew.
    void LookUpAgain();
    // A line for the status area, unless a run or a disc read owns it.
    void LookupStatus(const QString& text) override;

private:
    // Adds the tracks in their order, the damaged marked, and has the new rows looked up.
    void AddTracks(const CdTracks& tracks);
    void ShowReading(bool reading);
    [[nodiscard]] LookupSettings CurrentLookupSettings() const;

    void CdsFound(const std::vector<AudioCd>& cds, const std::string& problem) override;
    void TracksListed(const CdTracks& tracks) override;
    void ReadProgressed(const DiscReadProgress& progress) override;
    void ReadEnded(const DiscReadEnd& end) override;
    void DiscKnown(const DiscRows& rows) override;
    void ReleaseFound(const DiscRows& rows, const ReleaseNames& release,
                      NameSource source) override;
    void ReleaseChoiceNeeded(const DiscRows& rows, const DiscLookupAnswer& answer) override;
    void CoverArrived(const std::vector<int64_t>& rows, const std::string& releaseId,
                      const CoverArt& cover) override;
    void CacheMeasured(const std::filesystem::path& cache, const DiscCacheUsage& usage) override;
    void CacheCleared(const DiscCacheUsage& left) override;

    WindowParts ui;
    kit::PopUp* popUp;
    DiscFlow flow;
};
