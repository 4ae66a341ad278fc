// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the message archive reader. Whatever it accepts must write back to an
// archive that reads again to the same bytes.
#include "kit/Message.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kit::Message message;
    if (message.Unflatten(QByteArrayView(data, static_cast<qsizetype>(size))) != kit::B_OK) {
        if (!message.IsEmpty()) {
            std::abort();
        }
        return 0;
    }
    const QByteArray archive = message.Flatten();
    kit::Message again;
    if (again.Unflatten(archive) != kit::B_OK || again.Flatten() != archive) {
        std::abort();
    }
    return 0;
}
