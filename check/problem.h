// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"

#include <optional>
#include <string>

// One thing wrong with a level or a language file, told to its author: how
// bad it is, where it is, and a sentence saying what happens because of it.
struct Problem
{
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    std::optional<GridRef> location; // the location as the map names it, when there is one
    int line = 0; // the line of the file; 0 when the file gives none
    std::string text; // UTF-8
    // The level file a chained level's problem lies in (its text names it
    // too); empty for the level checked.
    std::string file = {};

    bool isError() const { return severity == Severity::Error; }
};
