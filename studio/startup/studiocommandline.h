// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The studio's options and the level it is asked to open, read from the
// program's arguments before any window system is touched, so "--help" works
// without a display.
class StudioCommandLine
{
public:
    // arguments without the program name
    static StudioCommandLine parse(const std::vector<std::string> &arguments);
    // The help, as --help shows it.
    static std::string usage();

    bool help = false;
    bool version = false;
    std::string level; // empty: the start dialog asks for one
    std::string error; // a wrong option; empty when the arguments are fine
};
