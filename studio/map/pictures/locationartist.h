// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

// Draws the picture of one map location: a room with a corridor out of each
// open side, coloured and marked by the location's type, with a gem when items
// lie there. Drawn in vectors, so the same picture serves the map's buttons and
// larger views.
class LocationArtist
{
public:
    enum class Kind { Ordinary, Start, End };

    struct Location
    {
        Kind kind = Kind::Ordinary;
        bool items = false;
        bool north = false;
        bool south = false;
        bool east = false;
        bool west = false;
    };

    // Size of the picture files: a location button less a small frame.
    static constexpr int Width = 67;
    static constexpr int Height = 51;

    // The picture file's name: "AI0010.bmp" for a start with items and an
    // east exit, "1001.bmp" for an ordinary room without items.
    static QString fileName(const Location &location);

    static void paint(QPainter &painter, const QRectF &target, const Location &location);
    static QImage image(const Location &location, int width = Width, int height = Height);
};
