// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A game as one web page: the page runtime (the page with the engine in it)
// with the game filled in at its one marker, as data the page reads when it
// opens: the files to place in the engine's file system, the folder to play
// from, the level named as the player's command line names it, and the
// language file.
class GamePage
{
public:
    static constexpr std::string_view Marker = "@QUILLMOOR_GAME@";

    struct File
    {
        std::string path; // in the page's file system
        std::string bytes;
    };

    struct Game
    {
        std::vector<std::string> folders; // made before the files are placed
        std::string folder;
        std::string level;
        std::string language;
        std::vector<File> files;
    };

    // Nothing when the runtime does not hold the marker exactly once.
    static std::optional<std::string> fill(std::string_view runtime, const Game &game);
    // The game as JSON that is safe inside a script element.
    static std::string json(const Game &game);
};
