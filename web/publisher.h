// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// Publishes a level as one web page that plays it in a browser from disk: the
// page runtime (the page with the engine in it) holding the level, every
// level its LOADLEVEL locations lead to and a language file. Either the whole
// page is written or nothing is: a fault leaves the target as it was.
class Publisher
{
public:
    struct Job
    {
        std::string level; // as the player's command line names it
        std::string languageFile; // empty: the player's Language.txt
        std::string output; // empty: the level's name with ".html"
        std::string runtime; // empty: the page runtime shipped with the programs
    };

    struct Result
    {
        std::string error; // names the file and, where there is one, the line
        std::string output; // the page written
        std::vector<std::string> levels; // the levels in it, as the player names them
        std::string languageFile;
        // Faults the page shows when it loads a level, and plays past.
        std::vector<std::string> warnings;

        bool ok() const { return error.empty(); }
    };

    static Result publish(const Job &job);

    static std::string defaultOutput(const std::string &level);
    static std::string defaultLanguageFile();
    static std::string defaultRuntime();
};
