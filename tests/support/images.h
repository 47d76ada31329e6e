#pragma once
// Reading what a picture box shows or holds: which pixels carry ink, and plain pictures to assign.

#include <QColor>
#include <QImage>

namespace desk::testing {

inline bool inked(const QImage& image, int x, int y)
{
    return image.valid(x, y) && qAlpha(image.pixel(x, y)) > 0;
}

inline int inkCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += inked(image, x, y);
    return count;
}

inline bool blank(const QImage& image)
{
    return inkCount(image) == 0;
}

// A picture of one colour.
inline QImage solid(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace desk::testing
