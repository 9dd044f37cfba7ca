// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One game decoded from one fuzz input. The input's parts are separated by
// a line "====" (the line end before it stays with the part before):
//   1. the level the game starts with, a.qw;
//   2. the language file;
//   3. the typed lines, one a line; a question takes the next line as its
//      answer, Yes when it begins with y or Y, as in the terminal;
//   4. and 5. the levels b.qw and c.qw, for locations that load another.
// A part the input does not reach is no file at all. Every part views the
// input, which outlives it. The files are held in memory, as an editor
// holds a level it has not saved, under the names they would have in a
// folder.
class EngineInput
{
public:
    // Enough for every game a few screens long; longer scripts only slow
    // the run without reaching anything new.
    static constexpr std::size_t MaxLines = 100;
    static constexpr std::string_view Separator = "\n====\n";
    static constexpr std::size_t FileCount = 4;
    // The files in the order of the array files: a.qw first.
    static constexpr std::string_view FileNames[FileCount] = {"a.qw", "Language.txt", "b.qw", "c.qw"};

    static EngineInput decode(std::string_view input);
    // The game of the files as if they lay in folder, which holds no file of
    // these names.
    Game::Setup setup(const std::string &folder) const;

    std::optional<std::string_view> files[FileCount];
    // The typed lines as bytes, without their line ends (UTF-8 meant).
    std::vector<std::string_view> lines;
};
