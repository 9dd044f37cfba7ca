// SPDX-License-Identifier: MIT
#include "locationartist.h"
#include "rockart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <array>

namespace {

const QColor Rock(0x26, 0x27, 0x2e);
const QColor RoomFloor(0xc6, 0xb5, 0x90);
using RockArt::EndFloor;
using RockArt::Floor;
using RockArt::Outline;
using RockArt::StartFloor;

// The room in the middle and the corridors' widths, in picture pixels.
const QRectF Room(15.5, 11.5, 36, 28);
constexpr qreal CorridorWidth = 15;
constexpr qreal CorridorHeight = 13;

void paintRock(QPainter &painter, quint32 seed)
{
    painter.fillRect(QRectF(0, 0, LocationArtist::Width, LocationArtist::Height), Rock);
    Noise noise(seed);
    for (int i = 0; i < 46; ++i) {
        const QPointF at(noise.next() * LocationArtist::Width, noise.next() * LocationArtist::Height);
        const qreal radius = 0.6 + noise.next() * 1.6;
        const int shade = int(noise.next() * 28) - 12;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(Rock.red() + shade, Rock.green() + shade, Rock.blue() + shade + 3));
        painter.drawEllipse(at, radius, radius * 0.8);
    }
}

bool hasExit(const LocationPicture &location, Direction d)
{
    return location.exits[int(d)];
}

QPainterPath floorPlan(const LocationPicture &location)
{
    const QPointF centre = Room.center();
    QPainterPath plan;
    plan.setFillRule(Qt::WindingFill);
    plan.addRoundedRect(Room, 4, 4);
    // Corridors run one pixel past the edge so that no wall is drawn there.
    const qreal x = centre.x() - CorridorWidth / 2;
    const qreal y = centre.y() - CorridorHeight / 2;
    auto corridor = [&plan](const QRectF &rect) {
        QPainterPath piece;
        piece.addRect(rect);
        plan = plan.united(piece);
    };
    if (hasExit(location, Direction::North))
        corridor(QRectF(x, -1, CorridorWidth, centre.y() + 1));
    if (hasExit(location, Direction::South))
        corridor(QRectF(x, centre.y(), CorridorWidth, LocationArtist::Height - centre.y() + 1));
    if (hasExit(location, Direction::East))
        corridor(QRectF(centre.x(), y, LocationArtist::Width - centre.x() + 1, CorridorHeight));
    if (hasExit(location, Direction::West))
        corridor(QRectF(-1, y, centre.x() + 1, CorridorHeight));
    return plan;
}

void paintFlag(QPainter &painter, QPointF at)
{
    painter.setPen(QPen(Outline, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at + QPointF(-4, 9), at + QPointF(-4, -9));
    const QPolygonF cloth{at + QPointF(-3.5, -9), at + QPointF(7, -5), at + QPointF(-3.5, -1)};
    painter.setPen(QPen(Outline, 1));
    painter.setBrush(QColor(0xf4, 0xf1, 0xe6));
    painter.drawPolygon(cloth);
}

void paintStar(QPainter &painter, QPointF at)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 9.5 : 4;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        star << at + QPointF(radius * qCos(angle), radius * qSin(angle) + 1);
    }
    painter.setPen(QPen(Outline, 1.1));
    painter.setBrush(QColor(0xff, 0xd3, 0x3d));
    painter.drawPolygon(star);
}

void paintGem(QPainter &painter, QPointF at)
{
    const QPolygonF gem{at + QPointF(0, -7), at + QPointF(6, -1.5), at + QPointF(0, 7), at + QPointF(-6, -1.5)};
    painter.setPen(QPen(Outline, 1.1));
    painter.setBrush(QColor(0x4c, 0xd6, 0xf5));
    painter.drawPolygon(gem);
    // A facet of light makes it read as a jewel rather than a blue patch.
    const QPolygonF facet{at + QPointF(0, -5), at + QPointF(3.5, -1.5), at + QPointF(0, 0), at + QPointF(-3.5, -1.5)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe8, 0xfb, 0xff));
    painter.drawPolygon(facet);
}

} // namespace

using Kind = LocationPicture::Kind;

void LocationArtist::paint(QPainter &painter, const QRectF &target, const LocationPicture &location)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / Width, target.height() / Height);
    painter.setClipRect(QRectF(0, 0, Width, Height));

    const quint32 seed = (hasExit(location, Direction::North) ? 1 : 0) | (hasExit(location, Direction::South) ? 2 : 0)
        | (hasExit(location, Direction::East) ? 4 : 0) | (hasExit(location, Direction::West) ? 8 : 0)
        | (location.items ? 16 : 0) | (quint32(location.kind) << 5);
    paintRock(painter, seed);

    painter.setPen(QPen(Outline, 2.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Floor);
    painter.drawPath(floorPlan(location));

    // The room's floor tells the type: green for the start, red for the end of
    // the game or the way to another level, pale stone for any other room.
    const QRectF inner = Room.adjusted(2.5, 2.5, -2.5, -2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(location.kind == Kind::Start ? StartFloor : location.kind == Kind::End ? EndFloor : RoomFloor);
    painter.drawRoundedRect(inner, 2.5, 2.5);

    const QPointF centre = Room.center();
    const bool marked = location.kind != Kind::Ordinary;
    const QPointF markAt = location.items ? centre + QPointF(-7, 0) : centre;
    if (location.kind == Kind::Start)
        paintFlag(painter, markAt);
    else if (location.kind == Kind::End)
        paintStar(painter, markAt);
    if (location.items)
        paintGem(painter, marked ? centre + QPointF(9, 1) : centre);

    painter.restore();
}

QImage LocationArtist::image(const LocationPicture &location, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Rock);
    QPainter painter(&picture);
    paint(painter, QRectF(0, 0, width, height), location);
    return picture;
}

QImage LocationArtist::mapSample()
{
    // A start with its flag, rooms and corridors, a gem and the winning room,
    // laid out like the location buttons; exits north, south, east, west.
    const std::array<LocationPicture, 6> tiles{{
        {Kind::Start, false, {false, true, true, false}},
        {Kind::Ordinary, true, {false, true, true, true}},
        {Kind::Ordinary, false, {false, true, false, true}},
        {Kind::Ordinary, false, {true, false, true, false}},
        {Kind::Ordinary, false, {true, false, true, true}},
        {Kind::End, false, {true, false, false, true}},
    }};
    constexpr int columns = 3;
    constexpr int gap = 4;
    const QSize tile(Width * 5 / 4, Height * 5 / 4);
    QImage sample(columns * tile.width() + (columns + 1) * gap, 2 * tile.height() + 3 * gap, QImage::Format_RGB32);
    sample.fill(Qt::black);
    QPainter painter(&sample);
    for (int i = 0; i < int(tiles.size()); ++i) {
        const QPoint at(gap + (i % columns) * (tile.width() + gap), gap + (i / columns) * (tile.height() + gap));
        paint(painter, QRectF(at, tile), tiles[i]);
    }
    return sample;
}
