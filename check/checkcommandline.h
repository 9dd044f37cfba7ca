// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The options of quillmoorcheck and the level it is asked to check.
class CheckCommandLine
{
public:
    // arguments without the program name
    static CheckCommandLine parse(const std::vector<std::string> &arguments);
    // The help, as --help shows it.
    static std::string usage();

    bool help = false;
    bool version = false;
    bool json = false;
    std::string languageFile; // empty: the Language.txt the player would use
    int language = 1;
    std::size_t maxStates = 10'000'000;
    std::string level; // empty: check the language file alone
    std::string error; // a wrong option; empty when the arguments are fine
};
