// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"

#include <array>

// The four exit paths of a location, in the order every table of the kit
// lists them: north (towards row 1), south, east, west (towards column A).
enum class Direction { North, South, East, West };

constexpr std::array<Direction, 4> Directions{Direction::North, Direction::South, Direction::East, Direction::West};

constexpr char directionLetter(Direction d)
{
    return "NSEW"[int(d)];
}

constexpr const char *directionName(Direction d)
{
    constexpr const char *names[] = {"north", "south", "east", "west"};
    return names[int(d)];
}

// The neighbour one step away; it may lie off the map.
constexpr GridRef step(GridRef from, Direction d)
{
    constexpr int rows[] = {-1, 1, 0, 0};
    constexpr int cols[] = {0, 0, 1, -1};
    return {from.row + rows[int(d)], from.col + cols[int(d)]};
}
