// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder that ships with the program lives in a libexec folder beside the program's own
// bin folder, in the build tree as when installed. The program appends that folder to the end of
// its search path, so that a gogo the user installed is found first and this one is the fallback.
#pragma once

#include <QByteArray>
#include <QString>

// The companion encoder's folder for a program that runs from `executableDir`.
QString CompanionEncoderDir(const QString& executableDir);

// `searchPath` (a PATH value, or null when PATH is unset, which means the system's default
// path) with `dir` appended as its last element. Unchanged when `dir` is already an element, or
// when it cannot be one (it is empty or holds a colon).
QByteArray SearchPathWithFallback(const char* searchPath, const QByteArray& dir);

// Appends the companion encoder's folder, found from the running executable, to the end of the
// PATH environment variable. Call it once at start, before any thread runs. Returns false when
// the executable's folder cannot be found.
bool AppendCompanionEncoderToPath();
