// SPDX-License-Identifier: GPL-3.0-or-later
// How long a WAV file plays, read from its header.
#pragma once

#include <filesystem>
#include <optional>

// The playing time in seconds (frames over sample rate, as the header gives them); nothing when
// the file cannot be read as audio or its header names no rate.
std::optional<double> WavDurationSeconds(const std::filesystem::path& path);
