// SPDX-License-Identifier: MIT
#pragma once

#include "locationrecord.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One session in the studio decoded from one fuzz input: the level file the
// document opens, then, after a line "====", what the author does, one
// operation a line, its fields separated by tabs:
//   area LOC KIND PATHS ITEMS FREE NARRATIVE LOCKOUT-N -S -E -W FILE COMMENT
//        the area editor's OK: KIND one of "-" (not used), "s" (start),
//        "e" (end), "l" (loads a level), else normal; PATHS one character
//        for N, S, E, W: "." none, "+" open, else the item it requires;
//        ITEMS and FREE item letters; "^" in NARRATIVE a line break
//   mark LOC 1        the map's in-use mark, set ("1") or cleared
//   open LOC          the area editor opens the location
//   name X TEXT       Item Management's OK with item X renamed
//   rule ROW TOKEN    the same with rule ROW (from 1; past the last adds
//                     one) made of TOKEN, "B+C=D"
//   unrule ROW        the same with rule ROW taken out
//   undo, redo        the Edit menu's, over the OKs above
//   save              the File menu's Save
// A location is named as on the map, "3C"; other names are off the map.
// Lines that are none of these are skipped.
class DocumentInput
{
public:
    // Enough for every session that edits, undoes and saves a few times;
    // longer ones only slow the run.
    static constexpr std::size_t MaxOperations = 64;
    static constexpr std::string_view Separator = "\n====\n";

    enum class Kind { Area, Mark, Open, Name, Rule, Unrule, Undo, Redo, Save };

    struct Operation
    {
        Kind kind = Kind::Save;
        GridRef at; // Area, Mark, Open
        LocationRecord record; // Area: the record the editor composed
        std::uint32_t freeItems = 0; // Area: bit n for item n
        bool used = false; // Mark
        int index = 0; // Name: the item, 0 to 25; Rule, Unrule: the row, from 0
        Text text; // Name: the name; Rule: the token
    };

    static DocumentInput decode(std::string_view input);

    std::string level;
    std::vector<Operation> operations;
};
