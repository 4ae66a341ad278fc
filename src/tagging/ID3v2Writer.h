// SPDX-License-Identifier: GPL-3.0-or-later
// Writes an ID3v2 tag at the start of an encoded MP3 file, beside the ID3v1 tag at its end: the
// same values in Unicode and at their full length, which players show as they are, where they
// read the ID3v1 tag's 30 bytes as Latin-1.
//
// A new tag is ID3v2.3, its texts UTF-16: the version that players and tag readers read most
// widely. Many read no ID3v2.4 tag at all (id3lib, behind the id3v2 tool, is one), and only 2.4
// allows UTF-8. An ID3v2.4 tag the file already has (another tool's) stays 2.4, with every frame
// that 2.3 has no place for.
#pragma once

#include "tagging/FinishedFile.h"

#include <cstdint>
#include <string>

// Writes the tag of the finished file (a symbolic link is followed): its full title, the artist,
// album and comment, the year (as the year of the recording), the genre by the genre table's name
// when one was given (a number the table does not hold has none) and the track when it is 0 or
// more. An empty value gets no frame, and replaces the frame of an ID3v2 tag the file already
// begins with; that tag's other frames stay. A file with an ID3v2 tag anywhere else is left as it
// is, and so is anything but a regular file.
//
// A file of a disc look-up's release also gets the album artist (TPE2), the disc of the release
// (TPOS "1/2"), the label (TPUB) and the MusicBrainz identifiers: the recording as the UFID
// "http://musicbrainz.org", the others as TXXX frames named as other taggers name them
// ("MusicBrainz Album Id", "MusicBrainz Artist Id", "MusicBrainz Album Artist Id", "MusicBrainz
// Release Group Id", "MusicBrainz Release Track Id", "MusicBrainz Disc Id", "MusicBrainz Album
// Release Country", "CATALOGNUMBER", "BARCODE"). The file's extras follow (see ID3v2Extras.h).
//
// Only the ID3v2 tag changes: the audio and the ID3v1 tag at the end stay byte for byte. The file
// is rewritten as a copy beside it, with its owner, permissions and extended attributes, which
// replaces it only once complete, checked and on disk; any failure (a file this process may not
// write, a file that is not MPEG audio, a full disk) leaves the file as it was.
//
// Returns 0 when the tag was written; otherwise prints "Error writing ID3v2 tag." on standard
// output, says why in `why` when it is given, and returns -1.
int32_t WriteID3v2Tag(const FinishedFile& file, std::string* why = nullptr);
