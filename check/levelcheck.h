// SPDX-License-Identifier: MIT
#pragma once

#include "checkreport.h"

#include <atomic>
#include <cstddef>
#include <string>

// The whole check of a level: the problems of the level and of every level
// its LOADLEVEL locations chain to, and the search for the shortest way to
// win, played by the engine in the chosen language. This is what the tool
// and the studio call.
class LevelCheck
{
public:
    struct Options
    {
        std::string languageFile; // the language file the player would use
        int language = 1; // which language of the file, from 1
        std::size_t maxStates = 10'000'000;
        // Set from another thread to stop the search (a window's Cancel);
        // the verdict is then unknown.
        const std::atomic<bool> *cancel = nullptr;
    };

    // The level file at path, as it lies on disk.
    static CheckReport checkFile(const std::string &path, const Options &options);
    // A level held in memory (as an editor would save it) that names path:
    // LOADLEVEL names are looked up from there, and a chain that comes back
    // to path finds these bytes.
    static CheckReport checkBytes(const std::string &bytes, const std::string &path, const Options &options);
    // The language file alone, every language in it.
    static CheckReport checkLanguage(const std::string &languageFile);
};
