// A file an encoder has finished, with everything it is tagged with: value copies taken from its
// row when the row was marked done, so that a worker thread can tag the file while the row
// changes or goes.
#pragma once

#include "tagging/ID3Struct.h"

#include <cstdint>
#include <filesystem>
#include <string>

struct FinishedFile {
    // Whom the outcome is reported to: the encoding run and the row the file was made for.
    int64_t run = 0;
    int64_t row = 0;

    std::filesystem::path path; // the MP3 file
    ID3_struct tag{};
    int32_t track = -1;      // none when negative
    std::string fullTitle;   // the title at its full length, for the ID3v2 tag
    bool genreGiven = false; // a genre was applied to the row; else the ID3v2 tag names none
    bool id3v2 = true;       // also write an ID3v2 tag
};

// Writes the file's ID3v1 tag and "Audio:" attributes and, when asked, its ID3v2 tag. Only a
// regular file is tagged: a FIFO or a device at the output path took the encoder's output as it
// came, and reading it back would wait for ever. Returns why the file's tags are missing or
// incomplete, for the user; empty when every tag was written. A file system that keeps no
// extended attributes is no failure: such a file has none to write.
std::string TagFinishedFile(const FinishedFile& file);
