#pragma once

#include <QPaintDevice>
#include <QRect>
#include <QtMath>

namespace quorvex {

// Window sizes are designed in twips (1/1440 inch) and shown at the screen's logical DPI.
inline constexpr int kTwipsPerInch = 1440;

inline int twipsX(const QPaintDevice& device, int twips)
{
    return qRound(twips * device.logicalDpiX() / double(kTwipsPerInch));
}

inline int twipsY(const QPaintDevice& device, int twips)
{
    return qRound(twips * device.logicalDpiY() / double(kTwipsPerInch));
}

inline QRect twipsRect(const QPaintDevice& device, int left, int top, int width, int height)
{
    return {twipsX(device, left), twipsY(device, top), twipsX(device, width),
            twipsY(device, height)};
}

} // namespace quorvex
