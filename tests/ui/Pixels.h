#pragma once

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace velmor::test {

// How far apart two colours are: the largest difference in one channel.
inline int channelGap(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// How many pixels of `area` in `image` (every `step`th each way) lie more than `tolerance`
// from `colour` in some channel: ink on a plain ground.
inline int pixelsAwayFrom(const QImage& image, QRgb colour, int tolerance = 0, QRect area = {},
                          int step = 1) {
    area = area.isNull() ? image.rect() : area & image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); y += step)
        for (int x = area.left(); x <= area.right(); x += step)
            count += channelGap(image.pixel(x, y), colour) > tolerance;
    return count;
}

} // namespace velmor::test
