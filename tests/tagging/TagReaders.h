// SPDX-License-Identifier: GPL-3.0-or-later
// Reads tags and attributes back with programs that nobody here wrote: getfattr (package attr),
// id3v2 and python3-mutagen. Each reader reports a failure of its program as a test failure.
#pragma once

#include "tagging/FinishedFile.h"
#include "tagging/ID3Struct.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <string>

// Runs a program to its end and returns its standard output; a failure fails the test.
QByteArray Run(const QString& program, const QStringList& arguments);
// Runs a Python script with Debian's python3, which imports mutagen, on the arguments.
QByteArray RunPython(const char* script, const QStringList& arguments);
// A file's bytes; empty when it cannot be read.
QByteArray FileBytes(const QString& path);
// A tag value as the file list fills it.
ID3_struct MakeTag(const char* title, const char* artist, const char* album, const char* year,
                   const char* comment, uint8_t genre);

// One second of stereo sine made with sox and encoded by the companion encoder, once.
const QByteArray& EncodedMp3();
// The file to tag, as the run hands it over, for a row that was given its genre.
FinishedFile Finished(const QString& path, const ID3_struct& tag, std::string_view title,
                      int32_t track);

// Whether a program is on the search path (for a clear skip when it is not installed).
bool HaveProgram(const QString& program);
bool HaveMutagen();

// Every "user." extended attribute of the file, by name without the "user." prefix, with its
// exact value bytes.
std::map<std::string, QByteArray> ReadUserAttributes(const QString& path);

// The ID3v1 fields as a reader shows them; "genre" is the number, "track" present only when the
// reader found a track byte.
using TagFields = std::map<std::string, std::string>;
TagFields ReadTagWithId3v2(const QString& path);
TagFields ReadTagWithMutagen(const QString& path);

// The ID3v2 tag alone (no ID3v1 values mixed in) as a reader shows it: "title", "artist",
// "album", "year", "comment", "genre" (the name), "track"; mutagen adds "version" ("2.3.0").
TagFields ReadID3v2WithMutagen(const QString& path);
TagFields ReadID3v2WithId3v2(const QString& path);
// Every frame of the ID3v2 tag by mutagen's key ("TPE2", "TXXX:MusicBrainz Album Id",
// "UFID:http://musicbrainz.org" with its identifier as text); the front cover as "APIC": its MIME
// type, picture type and the SHA-1 of its bytes.
// Several values of one frame are joined by a zero character.
TagFields ReadID3v2FramesWithMutagen(const QString& path);
// The text, user text and UFID frames as TagLib reads them, by the same keys.
TagFields ReadID3v2FramesWithTagLib(const QString& path);

// An int32 attribute value as it is stored: 4 bytes in host order.
QByteArray Int32Bytes(int32_t value);
// A text attribute value as it is stored: the text and its terminating zero.
QByteArray TextBytes(const char* text);
