// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "webconsole.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

// One game played in the page: the game, the console it writes into, and
// the last text handed to the page's script, which reads it from memory.
// A game saved anywhere goes on here, and the game played here is saved in
// the same file format, so the page keeps a player's progress and a game
// moves between the page and the player.
class WebSession
{
public:
    // The game to play, which restart() starts or restore() goes on with.
    void setUp(Game::Setup setup);
    // Starts the game, or starts it over.
    void restart();

    // A level of the page, by its path in the page's file system: a saved
    // game that names it otherwise (saved where the level lay elsewhere)
    // finds it by its digest.
    void holdLevel(const std::string &path);
    // Goes on with the saved game in bytes, in place of the game played;
    // empty when it does, else why not, naming fileName, and the game
    // played goes on.
    std::string restore(std::string_view bytes, const std::string &fileName);
    // The game played as a saved game's bytes; empty while there is no game
    // to save (before a language is chosen, after a fault).
    std::string saved() const;
    // Names what the page plays by the digests of its levels and its
    // language file: the progress of one game, kept in the browser, is not
    // taken up by another, nor by a changed one.
    std::string progressKey() const;

    Game *game() { return played.get(); }
    WebConsole &console() { return shown; }

    // Keeps text until the next hand-out; its bytes stay where they are.
    const char *handOut(std::string text);
    std::size_t handedOutSize() const { return said.size(); }

private:
    WebConsole shown;
    Game::Setup setup;
    std::map<std::string, std::string> levels; // held, by the name the player finds them by
    std::unique_ptr<Game> played;
    std::string said;
};
