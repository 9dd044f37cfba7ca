// SPDX-License-Identifier: MIT
#include "iconartist.h"
#include "rockart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>

namespace {

// The icons' own colours beside those they share with the location pictures.
const QColor RockTop(0x3d, 0x3e, 0x4a);
const QColor RockBottom(0x1e, 0x1f, 0x25);
const QColor RoomFloor(0xd8, 0xc9, 0xa4);
using RockArt::EndFloor;
using RockArt::Floor;
using RockArt::Outline;
using RockArt::StartFloor;
const QColor ConsoleGreen(0, 255, 0);
const QColor Feather(0xf4, 0xf1, 0xe6);

// What a size can show: below 32 pixels corridors and shading only blur the
// room; below 64 the rock's grain and the feather's barbs do.
enum class Detail { Small, Medium, Full };

Detail detailFor(int side)
{
    return side < 32 ? Detail::Small : side < 64 ? Detail::Medium : Detail::Full;
}

struct Layout
{
    QRectF tile;
    qreal radius;
    QRectF room;
    qreal corridor; // width
    qreal pixel; // one device pixel in canvas units
};

Layout layoutFor(int side)
{
    const qreal pixel = qreal(IconArtist::Canvas) / side;
    const Detail detail = detailFor(side);
    Layout layout;
    const qreal margin = std::max<qreal>(12, pixel);
    layout.tile = QRectF(margin, margin, IconArtist::Canvas - 2 * margin, IconArtist::Canvas - 2 * margin);
    layout.radius = detail == Detail::Small ? 36 : 40;
    // A small icon is mostly room, so what it holds stays legible.
    const qreal inset = detail == Detail::Small ? 40 : 62;
    layout.room = QRectF(inset, inset, IconArtist::Canvas - 2 * inset, IconArtist::Canvas - 2 * inset);
    layout.corridor = 44;
    layout.pixel = pixel;
    return layout;
}

QPainterPath tilePath(const Layout &layout)
{
    QPainterPath path;
    path.addRoundedRect(layout.tile, layout.radius, layout.radius);
    return path;
}

void paintTile(QPainter &painter, const Layout &layout, Detail detail)
{
    const QPainterPath tile = tilePath(layout);
    QLinearGradient rock(layout.tile.topLeft(), layout.tile.bottomLeft());
    rock.setColorAt(0, RockTop);
    rock.setColorAt(1, RockBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(rock);
    painter.drawPath(tile);

    if (detail == Detail::Full) {
        // Only grains wholly on the tile: the scalable icon has no clipping.
        Noise grain(12);
        for (int i = 0; i < 70; ++i) {
            const QPointF at(layout.tile.left() + grain.next() * layout.tile.width(),
                             layout.tile.top() + grain.next() * layout.tile.height());
            const qreal radius = 2.5 + grain.next() * 5;
            const int shade = int(grain.next() * 30) - 12;
            const QRectF bounds(at.x() - radius, at.y() - radius * 0.8, 2 * radius, 1.6 * radius);
            if (!tile.contains(bounds.adjusted(-4, -4, 4, 4)))
                continue;
            painter.setBrush(QColor(0x2c + shade, 0x2d + shade, 0x36 + shade));
            painter.drawEllipse(bounds);
        }
    }
}

void paintRim(QPainter &painter, const Layout &layout, Detail detail)
{
    painter.setBrush(Qt::NoBrush);
    if (detail != Detail::Small) {
        // A light edge inside the dark one keeps the tile apart from a dark panel.
        const qreal inset = 6;
        painter.setPen(QPen(QColor(255, 255, 255, 48), std::max<qreal>(3, layout.pixel)));
        painter.drawRoundedRect(layout.tile.adjusted(inset, inset, -inset, -inset), layout.radius - inset,
                                layout.radius - inset);
    }
    painter.setPen(QPen(Outline, std::max<qreal>(6, layout.pixel)));
    painter.drawPath(tilePath(layout));
}

// The room and, from medium sizes on, its four corridors to the tile's edges.
void paintRoom(QPainter &painter, const Layout &layout, Detail detail, const QColor &floor)
{
    const qreal wall = std::max<qreal>(detail == Detail::Small ? 14 : 7, layout.pixel);
    if (detail != Detail::Small) {
        const QPointF centre = layout.room.center();
        const qreal half = layout.corridor / 2;
        QPainterPath corridors;
        corridors.setFillRule(Qt::WindingFill);
        corridors.addRect(QRectF(centre.x() - half, 0, layout.corridor, IconArtist::Canvas));
        corridors.addRect(QRectF(0, centre.y() - half, IconArtist::Canvas, layout.corridor));
        // Cut to the tile rather than clipped, for the scalable icon's sake;
        // the walls run from edge to edge, their middles hidden by the room.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Floor);
        painter.drawPath(corridors.simplified().intersected(tilePath(layout)));
        const QRectF tile = layout.tile;
        painter.setPen(QPen(Outline, wall, Qt::SolidLine, Qt::FlatCap));
        for (const qreal side : {-half, half}) {
            painter.drawLine(QPointF(centre.x() + side, tile.top()), QPointF(centre.x() + side, tile.bottom()));
            painter.drawLine(QPointF(tile.left(), centre.y() + side), QPointF(tile.right(), centre.y() + side));
        }
    }
    painter.setPen(QPen(Outline, wall, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(floor);
    const qreal corner = detail == Detail::Small ? 14 : 16;
    painter.drawRoundedRect(layout.room, corner, corner);
}

void paintConsole(QPainter &painter, const Layout &layout, Detail detail)
{
    const QRectF room = layout.room;
    const qreal stroke = detail == Detail::Small ? 22 : 15;
    QPen green(ConsoleGreen, stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setBrush(Qt::NoBrush);
    if (detail == Detail::Full) {
        // Two lines of the game's text above the prompt.
        QPen text(QColor(0, 170, 0), 9, Qt::SolidLine, Qt::FlatCap);
        painter.setPen(text);
        const qreal left = room.left() + 20;
        painter.drawLine(QPointF(left, room.top() + 26), QPointF(room.right() - 22, room.top() + 26));
        painter.drawLine(QPointF(left, room.top() + 44), QPointF(room.right() - 48, room.top() + 44));
    }
    const qreal top = detail == Detail::Full ? room.top() + 64 : room.top() + room.height() * 0.26;
    const qreal bottom = detail == Detail::Full ? room.bottom() - 20 : room.bottom() - room.height() * 0.26;
    const qreal left = room.left() + room.width() * (detail == Detail::Small ? 0.2 : 0.17);
    const qreal reach = (bottom - top) * 0.55;
    painter.setPen(green);
    painter.drawPolyline(QPolygonF{{left, top}, {left + reach, (top + bottom) / 2}, {left, bottom}});
    // The caret waiting for the next command.
    const qreal caretLeft = left + reach + stroke * 0.9;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ConsoleGreen);
    painter.drawRect(QRectF(caretLeft, bottom - stroke / 2, room.right() - room.width() * 0.14 - caretLeft, stroke));
}

// A map of three by three rooms as the studio's grid shows one: a way from the
// start to the end of the game.
void paintMap(QPainter &painter, const Layout &layout, Detail detail)
{
    const QRectF area = layout.room.adjusted(layout.room.width() * 0.12, layout.room.height() * 0.12,
                                             -layout.room.width() * 0.12, -layout.room.height() * 0.12);
    const qreal cell = area.width() / 3;
    const qreal line = std::max<qreal>(detail == Detail::Small ? 10 : 4, layout.pixel);
    painter.setPen(QPen(QColor(0x6b, 0x5b, 0x42), line));
    painter.setBrush(Qt::NoBrush);
    for (int i = 1; i < 3; ++i) {
        painter.drawLine(QPointF(area.left() + i * cell, area.top()), QPointF(area.left() + i * cell, area.bottom()));
        painter.drawLine(QPointF(area.left(), area.top() + i * cell), QPointF(area.right(), area.top() + i * cell));
    }
    const qreal pad = detail == Detail::Small ? line * 0.6 : cell * 0.16;
    auto room = [&](int row, int col) {
        return QRectF(area.left() + col * cell + pad, area.top() + row * cell + pad, cell - 2 * pad, cell - 2 * pad);
    };
    painter.setPen(detail == Detail::Small ? Qt::NoPen : QPen(Outline, std::max<qreal>(3, layout.pixel)));
    painter.setBrush(StartFloor);
    painter.drawRect(room(0, 0));
    painter.setBrush(EndFloor);
    painter.drawRect(room(2, 2));
}

// A quill lying across the studio's room, its nib on the map.
void paintQuill(QPainter &painter, const Layout &layout, Detail detail)
{
    const QPointF nib = layout.room.center() + QPointF(-28, 40);
    const QPointF tip(layout.tile.right() - 26, layout.tile.top() + 26);
    const QLineF axis(nib, tip);
    const QPointF along = (tip - nib) / axis.length();
    const QPointF across(-along.y(), along.x());
    auto at = [&](qreal t, qreal side) { return nib + along * (axis.length() * t) + across * side; };

    const qreal outline = std::max<qreal>(detail == Detail::Full ? 4 : 6, layout.pixel);
    QPainterPath vane;
    vane.moveTo(at(0.3, 0));
    vane.cubicTo(at(0.45, 30), at(0.8, 30), tip);
    vane.cubicTo(at(0.8, -18), at(0.5, -20), at(0.3, 0));
    painter.setPen(QPen(Outline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Feather);
    painter.drawPath(vane);

    if (detail == Detail::Full) {
        // The barbs, slanting back from the shaft.
        painter.setPen(QPen(QColor(0xb9, 0xb2, 0x9c), 2.5, Qt::SolidLine, Qt::RoundCap));
        for (qreal t = 0.42; t < 0.92; t += 0.08) {
            painter.drawLine(at(t, 0), at(t - 0.06, 18));
            painter.drawLine(at(t, 0), at(t - 0.05, -12));
        }
    }
    // The shaft, and the nib that writes.
    painter.setPen(QPen(QColor(0x5a, 0x46, 0x32), outline * 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at(0.14, 0), at(0.97, 0));
    const QPolygonF point{at(0, 0), at(0.16, 7), at(0.16, -7)};
    painter.setPen(QPen(Outline, outline * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    painter.setBrush(QColor(0x2a, 0x2a, 0x32));
    painter.drawPolygon(point);
}

} // namespace

QString IconArtist::name(Icon icon)
{
    return icon == Icon::Player ? QStringLiteral("quillmoorplayer") : QStringLiteral("quillmoorstudio");
}

void IconArtist::paint(QPainter &painter, Icon icon, int side)
{
    const Detail detail = detailFor(side);
    const Layout layout = layoutFor(side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(side) / Canvas, qreal(side) / Canvas);

    paintTile(painter, layout, detail);
    if (icon == Icon::Player) {
        paintRoom(painter, layout, detail, Qt::black);
        paintConsole(painter, layout, detail);
    } else {
        paintRoom(painter, layout, detail, RoomFloor);
        paintMap(painter, layout, detail);
        if (detail != Detail::Small)
            paintQuill(painter, layout, detail);
    }
    paintRim(painter, layout, detail);
    painter.restore();
}

QImage IconArtist::image(Icon icon, int side)
{
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paint(painter, icon, side);
    return picture;
}
