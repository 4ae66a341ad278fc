// SPDX-License-Identifier: GPL-3.0-or-later
// The rows not yet encoded, kept in a file so that a quit, a logout or a crash loses nothing typed
// into them: each row's file, Save As name, track, tag values (also at their full length), cover,
// marks and what a disc look-up found for it. The file is the program's own, but it is read as
// any outside input: every value is checked for its shape and size before a row is made of it.
#pragma once

#include "lookup/DiscToc.h"
#include "tagging/ReleaseTags.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct KeptRow {
    std::filesystem::path file; // the WAV file, absolute
    std::string saveAs;
    int32_t track = -1; // none when negative
    int32_t trackCount = 0;
    // The ID3v1 values as the row holds them, and the texts found for it at their full length.
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    int32_t genre = 0;
    bool genreGiven = false;
    std::string fullTitle;
    std::string fullArtist;
    std::string fullAlbum;
    std::string fullComment;
    std::string genreName; // a genre found by a name the genre table does not hold
    std::filesystem::path cover;
    std::string failure;
    std::string warning;
    std::string sourceDamage;
    ReleaseTags release;         // with its front cover, kept once for the rows that share it
    std::optional<DiscToc> disc; // for a row read from an audio CD

    bool operator==(const KeptRow&) const = default;
};

// The rows as the file holds them: JSON, with the format's version.
QByteArray KeptListBytes(const std::vector<KeptRow>& rows);

struct KeptListRead {
    std::vector<KeptRow> rows;
    bool newer = false; // written by a newer version of the program
    std::string damage; // why the bytes are not a list this program wrote; empty when they are
};
KeptListRead ReadKeptList(const QByteArray& bytes);

// The list's file in the user's state folder ($XDG_STATE_HOME/vamble, else ~/.local/state/vamble),
// held by one program at a time: another instance neither reads nor writes it.
class KeptListFile {
public:
    // `folder` empty: the user's state folder.
    explicit KeptListFile(std::filesystem::path folder = {});
    ~KeptListFile();
    KeptListFile(const KeptListFile&) = delete;
    KeptListFile& operator=(const KeptListFile&) = delete;

    // Whether this program holds the list (it took the lock); without it, Load gives nothing and
    // Write writes nothing.
    [[nodiscard]] bool Held() const { return lock >= 0; }

    struct Loaded {
        std::vector<KeptRow> rows;
        // Why the kept list could not be taken (damaged, too large, newer), with where it was set
        // aside; empty when it was taken or there was none.
        QString problem;
    };
    // Reads the kept rows. A file that cannot be taken is renamed beside itself, never deleted.
    Loaded Load();
    // Replaces the file with the bytes, atomically; returns why not, empty when written. Safe to
    // call from another thread than Load's, one call at a time.
    [[nodiscard]] QString Write(const QByteArray& bytes) const;

    [[nodiscard]] const std::filesystem::path& Path() const { return path; }

    // The largest file read, far beyond what a list of 10,000 rows takes.
    static constexpr qint64 kLargestFile = 256LL * 1024 * 1024;

private:
    std::filesystem::path path;
    int lock = -1; // the lock file, held with flock while open
};
