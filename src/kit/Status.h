// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kit {

// Status codes of the platform layer: 0 is success, negative values are failures.
using status_t = int32_t;

inline constexpr status_t B_OK = 0;
inline constexpr status_t B_ERROR = -1;
inline constexpr status_t B_NO_MEMORY = -2;
inline constexpr status_t B_BAD_VALUE = -3;
inline constexpr status_t B_BAD_TYPE = -4;
inline constexpr status_t B_NAME_NOT_FOUND = -5;
inline constexpr status_t B_BAD_INDEX = -6;
inline constexpr status_t B_NOT_ALLOWED = -7;
inline constexpr status_t B_TIMED_OUT = -8;
inline constexpr status_t B_BAD_DATA = -9;

// A host error number (errno) that has no code above keeps its own status, far below them.
inline constexpr status_t B_POSIX_ERROR_BASE = INT32_MIN + 0x7000;
constexpr status_t StatusFromPosixError(int error) {
    return B_POSIX_ERROR_BASE + error;
}

} // namespace kit
