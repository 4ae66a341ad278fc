// Files dragged in from file managers: the text/uri-list of a drop as file references.
#pragma once

#include "kit/Message.h"

class QMimeData;

namespace kit {

// Whether the dragged data names at least one local file (a file:// URL).
bool CarriesFileRefs(const QMimeData* data);

// A message with the command code and one "refs" entry per local file the data names, in order,
// the percent-encoding of the URLs undone; URLs of other schemes are left out.
Message RefsFromDrop(const QMimeData* data, uint32_t what);

} // namespace kit
