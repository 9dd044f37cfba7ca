// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QtGlobal>

// The colours the location pictures and the desktop icons share, so that
// both read as one world.
namespace RockArt {
inline const QColor Outline(0x0c, 0x0c, 0x10);
inline const QColor Floor(0xa3, 0x91, 0x6e);
inline const QColor StartFloor(0x3c, 0x9a, 0x48);
inline const QColor EndFloor(0xb5, 0x3a, 0x2c);
} // namespace RockArt

// A small generator of repeatable noise for drawn rock, so that every build
// draws the same pictures and icons.
class Noise
{
public:
    explicit Noise(quint32 seed)
        : state(seed * 2654435761u + 12345u)
    {
    }
    // The next number in [0, 1).
    qreal next()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / qreal(1 << 24);
    }

private:
    quint32 state;
};
