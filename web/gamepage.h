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
// language file. The game's title goes in as text wherever the runtime
// holds the title marker (its title and its heading).
class GamePage
{
public:
    static constexpr std::string_view Marker = "@QUILLMOOR_GAME@";
    static constexpr std::string_view TitleMarker = "@QUILLMOOR_TITLE@";

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
        std::string title; // UTF-8; what the browser's tab and bookmarks show
    };

    // Nothing when the runtime does not hold the marker exactly once.
    static std::optional<std::string> fill(std::string_view runtime, const Game &game);
    // The game as JSON that is safe inside a script element.
    static std::string json(const Game &game);
    // Text as HTML that shows it as it is, in an element or an attribute.
    static std::string html(std::string_view utf8);
};
