// Writes an ID3v2 tag at the start of an encoded MP3 file, beside the ID3v1 tag at its end: the
// same values in Unicode and at their full length, which players show as they are, where they
// read the ID3v1 tag's 30 bytes as Latin-1.
//
// The tag is ID3v2.3, its texts UTF-16: the version that players and tag readers read most widely.
// Many read no ID3v2.4 tag at all (id3lib, behind the id3v2 tool, is one), and only 2.4 allows
// UTF-8.
#pragma once

#include "tagging/ID3Struct.h"
#include "tagging/ReleaseTags.h"

#include <cstdint>
#include <string_view>

// Writes the tag of the MP3 file at `path` (a symbolic link is followed): the title `fullTitle`
// (the row's title at its full length), the artist, album and comment of `tag`, its year (as the
// year of the recording), its genre by the genre table's name (a number the table does not hold
// has none) and the track when it is 0 or more. An empty value gets no frame, and replaces the
// frame of an ID3v2 tag the file already begins with; that tag's other frames stay. A file with an
// ID3v2 tag anywhere else is left as it is.
//
// With the names of a disc look-up (`release`), the title, artist and album are written at their
// full length while they still agree with the row's fields, and while the album does, also the
// album artist (TPE2), the disc of the release (TPOS "1/2"), the label (TPUB), the MusicBrainz
// identifiers (the recording as the UFID "http://musicbrainz.org", the others as TXXX frames named
// as other taggers name them: "MusicBrainz Album Id", "MusicBrainz Artist Id", "MusicBrainz Album
// Artist Id", "MusicBrainz Release Group Id", "MusicBrainz Release Track Id", "MusicBrainz Disc
// Id", "MusicBrainz Album Release Country", "CATALOGNUMBER", "BARCODE") and the front cover
// (APIC).
//
// Only the ID3v2 tag changes: the audio and the ID3v1 tag at the end stay byte for byte. The file
// is rewritten as a copy beside it, with its permissions and extended attributes, which replaces
// it only once complete, checked and on disk; any failure (a file this process may not write, a
// file that is not MPEG audio, a full disk) leaves the file as it was.
//
// Returns 0 when the tag was written; otherwise prints "Error writing ID3v2 tag." on standard
// output and returns -1.
int32_t WriteID3v2Tag(const char* path, const ID3_struct& tag, std::string_view fullTitle,
                      int32_t track, const ReleaseTags& release = {});
