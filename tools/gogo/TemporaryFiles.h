// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's hidden temporary files in an output folder: their names, the mark of a file that
// is being written, and the removal of those whose writer is gone.
//
// A writer holds an exclusive lock on its temporary file for as long as it has the file open; the
// system releases the lock when the writer ends, however it ends (SIGKILL too), so a temporary
// file that can be locked was left by an encoder that is gone.
#pragma once

#include <string>
#include <sys/stat.h>

namespace gogo {

// A new name for a temporary file that becomes `leaf`: ".LEAF.gogo-" and eight random letters.
std::string TemporaryName(const std::string& leaf);

// Whether the name has the form that TemporaryName gives.
bool IsTemporaryName(const std::string& name);

// Marks the open file as being written until it is closed. False only when another process holds
// the file's mark: one about to remove it for abandoned. Where the file system keeps no locks, the
// file stays unmarked, and no other encoder can take it for abandoned either.
bool MarkAsBeingWritten(int fd);

// Whether `name` in `folder` is the regular file `file` (same device and inode).
bool NamesFile(int folder, const std::string& name, const struct stat& file);

// Removes the temporary files in the folder whose writer is gone. A folder that cannot be read
// (write-only) is left as it is.
void RemoveAbandonedTemporaryFiles(int folder);

} // namespace gogo
