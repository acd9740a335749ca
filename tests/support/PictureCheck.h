#pragma once

#include <QImage>
#include <QRgb>
#include <QSet>

namespace testsupport {

// How many colours a picture shows, sampling every `step`-th pixel each way: a
// window drawn with its text, icons and frames shows dozens, a blank one one or two.
inline qsizetype sampledColours(const QImage& image, int step)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += step)
        for (int x = 0; x < image.width(); x += step)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace testsupport
