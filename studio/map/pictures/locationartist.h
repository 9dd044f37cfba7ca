// SPDX-License-Identifier: MIT
#pragma once

#include "locationpicture.h"

#include <QImage>
#include <QRectF>

class QPainter;

// Draws the picture of one map location: a room with a corridor out of each
// open side, coloured and marked by the location's type, with a gem when items
// lie there. Drawn in vectors, so the same picture serves the map's buttons and
// larger views.
class LocationArtist
{
public:
    // Size of the picture files: a location button less a small frame.
    static constexpr int Width = 67;
    static constexpr int Height = 51;

    static void paint(QPainter &painter, const QRectF &target, const LocationPicture &location);
    static QImage image(const LocationPicture &location, int width = Width, int height = Height);
    // A corner of a map as the studio shows it, for the start dialog.
    static QImage mapSample();
};
