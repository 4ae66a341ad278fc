// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Geometry.h"

#include <cmath>

namespace kit {

QRect ToQRect(const Rect& r) {
    return {QPoint(static_cast<int>(std::floor(r.left)), static_cast<int>(std::floor(r.top))),
            QPoint(static_cast<int>(std::floor(r.right)), static_cast<int>(std::floor(r.bottom)))};
}

QRectF ToQRectF(const Rect& r) {
    return {r.left, r.top, r.Width() + 1.0, r.Height() + 1.0};
}

Rect FromQRect(const QRect& r) {
    return {static_cast<float>(r.left()), static_cast<float>(r.top()),
            static_cast<float>(r.right()), static_cast<float>(r.bottom())};
}

} // namespace kit
