// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the tag values of one encoded file in two forms: an ID3v1 tag in the last 128 bytes of
// the file, and "Audio:" attributes kept beside the file's data as Linux user extended attributes
// ("Audio:Title" is stored as "user.Audio:Title"). A text attribute holds the text and its
// terminating zero; a number attribute holds an int32 as 4 bytes in host order.
//
// The attributes, in the order written, each only when due:
//   "Audio:Title"   text, when the title is not empty
//   "Audio:Comment" text, when the comment is not empty
//   "Audio:Genre"   text, always: the genre's name, or "Unknown" for a genre number of 111 or more,
//                   which the genre table does not hold
//   "Audio:Track"   int32, when the track is 0 or above
//   "Audio:GenreID" int32, always: the genre number
//   "Audio:Artist"  text, when the artist is not empty
//   "Audio:Album"   text, when the album is not empty
// The year goes into the tag only. A failed attribute prints "Error writing <name> attribute." on
// standard output and the others are still written, so a file on a file system without extended
// attributes keeps its tag.
#pragma once

#include "kit/Message.h"
#include "tagging/ID3Struct.h"

#include <cstdint>

class ID3Editor {
public:
    // Each constructor opens the file for reading and writing; a missing file is not created.
    // Without a file every operation returns -1 and prints nothing.
    explicit ID3Editor(const char* path);
    explicit ID3Editor(const kit::EntryRef& entry);
    // Copies the whole tag (a null tag counts as empty) and the track; a track outside
    // 0 .. INT32_MAX means none.
    ID3Editor(const char* path, const ID3_struct* values, long trackNumber);
    virtual ~ID3Editor();

    ID3Editor(const ID3Editor&) = delete;
    ID3Editor& operator=(const ID3Editor&) = delete;

    // Writes the 128-byte tag over the one the file already ends with ("TAG" 128 bytes before the
    // end), else appends it. Texts are zero-padded; there is no track byte. 0 when the whole tag
    // was written; -1 otherwise, also for a file shorter than 128 bytes, which gets no tag.
    int32_t WriteTag();

    // Writes the attributes that are due; 0 when every one was written, else -1.
    int32_t WriteTagsToAttr();

    // The text setters cut at 30 characters (the year at 4); a null text empties the field.
    void SetSongTitle(const char* title);
    void SetArtist(const char* artist);
    void SetAlbum(const char* album);
    void SetComment(const char* comment);
    void SetYear(const char* year);
    void SetGenre(uint8_t genre);
    void SetTrack(uint32_t track);

private:
    bool WriteAttribute(const char* name, const void* value, size_t size);
    bool WriteTextAttribute(const char* name, std::string_view text);
    bool WriteNumberAttribute(const char* name, int32_t value);

    kit::EntryRef ref;
    int fd = -1;
    ID3_struct tag{};
    int32_t track = -1;
};
