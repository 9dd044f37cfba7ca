// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

#include <optional>
#include <string>
#include <vector>

// The lines a front end types for the user before the user types anything:
// the file given with --walkthrough, one line a command (or the answer the
// game waits for), read as standard input is read.
class WalkthroughFile
{
public:
    // The lines without their line ends; nothing when the file cannot be
    // read, and then error says which file and why.
    static std::optional<std::vector<Text>> read(const std::string &path, std::string *error);
};
