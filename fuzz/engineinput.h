// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

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
// A part the input does not reach is no file at all.
class EngineInput
{
public:
    // Enough for every game a few screens long; longer scripts only slow
    // the run without reaching anything new.
    static constexpr std::size_t MaxLines = 100;
    static constexpr std::string_view Separator = "\n====\n";

    struct File
    {
        std::string name;
        std::optional<std::string> bytes;
    };

    static EngineInput decode(std::string_view input);
    // Writes the files into folder, removing those the input does not hold.
    void writeFiles(const std::string &folder) const;

    std::vector<File> files; // a.qw first
    std::vector<Text> lines;
};
