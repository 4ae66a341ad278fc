// SPDX-License-Identifier: GPL-3.0-or-later
// Texts that come from outside the user's hands (web answers, a disc's CD-Text, the tags inside
// a WAV file, file names) before they become names, tags or status lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kit {

// The text with what must never reach a file name, a tag or a line on screen taken out: control
// characters (C0, DEL and C1; a tab or line break becomes a space) and the Unicode direction
// embeddings, overrides and isolates, which make a name show reversed ("…gpj.exe"). Bytes that
// are not UTF-8 become U+FFFD.
std::string CleanOutsideText(std::string_view utf8);

// Whether the bytes are valid UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(std::string_view bytes);

// Bytes whose encoding is either UTF-8 or Latin-1, as UTF-8: taken as UTF-8 where they are
// valid, else as Latin-1. Nothing for bytes that are neither, such as UTF-16 (it holds NULs).
std::optional<std::string> Utf8OrLatin1(std::string_view bytes);

} // namespace kit
