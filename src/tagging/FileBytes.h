// SPDX-License-Identifier: GPL-3.0-or-later
// Whole reads and writes at a position in an open file: retried when a signal interrupts them or
// the system transfers less than asked, failing only on an error or the file's end.
#pragma once

#include <cstddef>
#include <sys/types.h>

bool WriteAll(int fd, const char* data, size_t size, off_t offset);
bool ReadAll(int fd, char* data, size_t size, off_t offset);
