// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "locationrecord.h"

#include <QString>

// A location in words, for whoever cannot see its button: the facts its
// colour and picture show the eye (in use, type, exits, items) as the name a
// screen reader reads, and the first line of its narrative for the tooltip.
class LocationSummary
{
public:
    // "Location 5B, start, exits north and east, items"; "Location 5B, not
    // used" for a location with nothing in it and not marked in use.
    static QString name(GridRef at, const LocationRecord &record, bool inUse);
    // The first line of the narrative as the area editor shows it, cut short
    // when long; empty when there is none.
    static QString narrativeLine(const LocationRecord &record);
    // The narrative's first line, or "Location 5B" where there is none. A long
    // line or one that looks like markup is given as a paragraph, so it
    // wraps and shows as typed.
    static QString toolTip(GridRef at, const LocationRecord &record);
};
