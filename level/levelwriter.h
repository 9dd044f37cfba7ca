// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"

#include <string>

// Writes a level in the file format: the map section, the named items, one
// block per location in use (row by row, A to I), and the combination rules.
class LevelWriter
{
public:
    // Records are written in their normalised form; rows whose first
    // ingredient is blank are free and not written.
    static std::string write(const Level &level);
    // The name as its item line holds it: trimmed, each blank left a "-";
    // readers keep the "-", so this is the name a save and a reading give.
    static Text itemName(TextView name);
};
