// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

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
