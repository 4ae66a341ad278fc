// SPDX-License-Identifier: GPL-3.0-or-later
// The options a start answers without opening a window: --help and --version. Every other
// argument is left alone, for Qt's own options and for the files the window adds to its list.
#pragma once

#include <cstdio>
#include <optional>
#include <span>

class Translations;

enum class InformationRequest { None, Help, Version };

// The first of -h, --help and --version among the arguments (the program's name not included).
InformationRequest FindInformationRequest(std::span<const char* const> arguments);

// When the arguments ask for help or the version, prints it (the help in the desktop's
// language) on `out` and gives the exit status; otherwise nothing, and the program starts.
std::optional<int> AnswerInformationRequest(int argc, const char* const* argv,
                                            const Translations& translations, std::FILE* out);
