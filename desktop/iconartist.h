// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

class QPainter;

// Draws the programs' desktop icons: a tile of the map's rock holding one
// room, its corridors leading off the four edges, as the studio's location
// pictures show a room. The player's room is its console, a green prompt on
// black; the studio's room holds a map of rooms and a quill. Small sizes drop
// the detail that would only blur there.
class IconArtist
{
public:
    enum class Icon { Player, Studio };

    // The size of the drawing's own coordinates, and of the scalable icon.
    static constexpr int Canvas = 256;

    // The name the desktop knows the icon by (also the desktop entry's name).
    static QString name(Icon icon);
    // Paints the icon into a square of side pixels at the painter's origin.
    static void paint(QPainter &painter, Icon icon, int side);
    static QImage image(Icon icon, int side);
};
