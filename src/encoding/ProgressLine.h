// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the percentage out of one progress line of the encoder.
#pragma once

// `line` is one progress line with every space already removed, for example
// "{120/4521}2.6%re:[00:00:03.12]to:[00:01:59.40]". A line that begins with "{" is read with the
// format "{%ld/%ld}%fre:[%02d:%02d:%02d.%02d]to:[%02d:%02d:%02d.%02d]", stopping at the first
// character that does not match; only the percentage is used. Returns that percentage, or
// `previous` when the line does not begin with "{", the percentage is not read, or it is not a
// finite number. The number is read with a full stop as decimal point whatever the locale.
float ScanProgressPercent(const char* line, float previous);
