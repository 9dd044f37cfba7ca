// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A game kept in a file to go on with later, in any program that plays:
// where the player stands, what is carried and each location as play has
// changed it, with the level and the language file it was played in, each
// named as the game found it and known by the SHA-256 of its bytes. Nothing
// in it depends on the process that saved it.
//
// The file (".qwsave") is UTF-8 text, one entry a line, each line ended by
// LF (a CR before the LF is ignored), the entries in this order:
//   Quillmoor saved game, version 1
//   first-level NAME      the level the game began with
//   level NAME            the level being played
//   level-sha256 HEX      the SHA-256 of its bytes, 64 lower-case digits
//   language-file NAME
//   language-sha256 HEX
//   language N            the language played, 1 for the file's first
//   location 3C           where the player stands
//   carried ACF           the letters of the items carried, in order
//   record 2B TEXT        a location record as play left it; one line for
//                         each that differs from the level's, in map order
//   end HEX               the SHA-256 of every line above, each with its LF
// In NAME and TEXT a backslash is written "\\", a CR "\r", an LF "\n" and
// any other control character "\x" and two hexadecimal digits.
//
// A front end saves with Game::saved() and writeFile() (or text(), for a
// download), and goes on with read() or readFile() and then Game::restore()
// on a new game.
struct SavedGame
{
    static constexpr int Version = 1;
    static constexpr std::string_view Extension = ".qwsave";

    struct File
    {
        std::string name; // as the game found it: relative where it was relative
        std::string sha256;

        friend bool operator==(const File &, const File &) = default;
    };
    struct Record
    {
        GridRef at;
        Text text;

        friend bool operator==(const Record &, const Record &) = default;
    };

    std::string firstLevel;
    File level;
    File language;
    int languageNumber = 1;
    GridRef position;
    std::uint32_t carried = 0; // bit n: item n (0 = A)
    std::vector<Record> records; // in map order, each location once

    // The file's bytes.
    std::string text() const;
    // Writes the file so that it is always the old one or the new one.
    bool writeFile(const std::string &path, std::string *error) const;

    // Nothing when the bytes are not a saved game this version reads whole;
    // error then says why, naming fileName: no saved game, another
    // version, cut short, damaged (and on which line).
    static std::optional<SavedGame> read(std::string_view bytes, const std::string &fileName, std::string *error);
    static std::optional<SavedGame> readFile(const std::string &path, std::string *error);

    // A game that begins at a location of a level, carrying the given
    // items, in the first language of the language file, as though walked
    // into: for an author who tries a level from the middle. Nothing when
    // either file cannot be read, and error says which and why.
    static std::optional<SavedGame> startingAt(const std::string &levelFile, GridRef at, std::uint32_t carried,
                                               const std::string &languageFile, std::string *error);

    friend bool operator==(const SavedGame &, const SavedGame &) = default;
};
