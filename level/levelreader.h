// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"
#include "levellines.h"

#include <string>
#include <string_view>

// Reads a level file by the rules both programs share. A file that breaks the
// format stops the reading at the fault; what was read before it is kept, and
// the error names the file, the line and the problem.
class LevelReader
{
public:
    struct Result
    {
        Level level;
        std::string error; // UTF-8; empty when the whole file was read
        int errorLine = 0; // 1-based; 0 when the fault has no line
        // The fault lost nothing: the last block or section runs into the
        // end of the file without its empty line, every line of it read.
        bool cutAtEnd = false;
        // Why the file gives no level at all, naming it: it cannot be opened,
        // or holds nothing a level holds (Level::isLevel). Empty when it
        // gives one, however faulty.
        std::string noLevel;
        LevelLines lines; // where what was read stood in the file

        bool ok() const { return error.empty(); }
        // Every line of the file went into the level, so the player plays
        // all of it: the tools warn about a fault that lost nothing, and
        // refuse only one that did.
        bool whole() const { return ok() || cutAtEnd; }
    };

    // The mark of a level's own the line holds, tested in this order:
    // "[LOCATION", "[MAP]", "[ITEMS]" or "[COMBOS]", anywhere in the line;
    // empty when it holds none.
    static std::string_view markOf(std::string_view line);

    // Why a file that is no level (Level::isLevel) is none, naming it:
    // "\"notes.txt\" is not a Quillmoor level: it holds no ..."
    static std::string notALevel(const std::string &fileName);

    // fileName only names the file in error messages.
    static Result read(std::string_view bytes, const std::string &fileName);
    // bytes, when given, receives the file's bytes as read.
    static Result readFile(const std::string &path, std::string *bytes = nullptr);
};
