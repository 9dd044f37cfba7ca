// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"
#include "gridref.h"
#include "textcodec.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// Everything a level file holds, as the reading rules give it.
struct Level
{
    static constexpr int ItemCount = 26;
    static constexpr int ComboRows = 100;
    static constexpr int LocationCount = GridRef::Size * GridRef::Size;

    // One record per location, row-major (GridRef::index): every line of its
    // block with "~" turned into CR LF, each followed by "|"; "" when unused.
    std::array<QString, LocationCount> records;
    // Item names for the letters A to Z, from the third character of the line.
    std::array<QString, ItemCount> items;
    // Combination rows in file order.
    QList<Combo> combos;
    // Items named by a line of a block that reads "ITEM X" once trimmed.
    std::array<bool, ItemCount> placed{};
    // The location of the last "START" line read.
    std::optional<GridRef> start;
    // The location headers read, in file order (a location may come twice).
    QList<GridRef> blocks;
    // How many "[MAP]" lines the file holds.
    int mapSections = 0;
    TextCodec::Encoding encoding = TextCodec::Utf8;

    QString &record(GridRef ref) { return records[ref.index()]; }
    const QString &record(GridRef ref) const { return records[ref.index()]; }
};
