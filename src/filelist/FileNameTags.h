// SPDX-License-Identifier: GPL-3.0-or-later
// "Tags from File Names": a pattern in the codes of the output name pattern that reads tag values
// back out of a file's name and the names of its folders.
//
// Codes: "%t" the track (digits), "%y" the year (four digits), "%a" the artist, "%c" the album and
// "%s" the title (each at least one character, never a "/"); "%%" is a "%". Every other character
// must stand in the name as it is; a "/" steps one folder up, so "%a/%c/%t - %s" reads the artist
// from the folder above the album's folder. A code that occurs twice must read the same text both
// times. Where the pattern can be read in several ways, each code takes as few characters as it
// can, from the left.
#pragma once

#include "tagging/FoundTags.h"

#include <QRegularExpression>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FileNameTagPattern {
public:
    explicit FileNameTagPattern(std::string_view pattern);

    // Why the pattern cannot be used (an unknown code, no code at all); empty when it can.
    [[nodiscard]] const std::string& Error() const { return error; }

    // The values the file's path gives, trimmed of spaces, or nothing when the path does not
    // have the pattern's form. The name is matched without its extension when that is a WAV
    // file's (".wav", ".wave", ".bwf" or ".rf64", in any letter case); codes that read only
    // spaces give no value.
    [[nodiscard]] std::optional<FoundTags> Match(const std::filesystem::path& file) const;

private:
    QRegularExpression expression;
    std::vector<char> groupCodes; // the code of each capturing group, in order
    int levels = 1;               // how many path components the pattern reads
    std::string error;
};
