#pragma once

#include "kit/FourCC.h"

// Messages an encoding worker posts to the window. Both carry int64 "run" (the run the worker
// belongs to; the window drops messages of runs that ended) and int64 "row" (the identity of
// the row being encoded).

// The encoder reported progress: float "fraction", 0 to 1.
inline constexpr uint32_t MSG_ENCODE_PROGRESS = kit::FourCC("EPrg");

// The worker has ended: bool "encoded", bool "stopped", string "output" (the output file's
// path), string "reason" (why the file was not encoded; empty when encoded or stopped) and
// int32 "status" (the encoder's exit status, -1 when it did not exit by itself).
inline constexpr uint32_t MSG_ENCODE_FINISHED = kit::FourCC("EFin");
