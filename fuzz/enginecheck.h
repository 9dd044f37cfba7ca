// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "gamehost.h"

#include <optional>
#include <string_view>
#include <vector>

// Plays one game line by line and checks after every line what the rules
// guarantee: the player stands on the map (or the game stopped with a
// message), a line changes only what its command may (one step along an
// open path, or the record where the player stands by exactly what taking
// or dropping does, or the inventory by the level's rules, or everything at
// once by loading a level), every line the console shows is ended, the
// facts the game reads from a record are the record's. With twins, also
// that a game resumed from the state before the line, and a game without a
// console, play the line alike.
class EngineCheck : public GameHost
{
public:
    EngineCheck(const Game::Setup &setup, bool twins);

    // lines: the typed lines as UTF-8.
    void run(const std::vector<std::string_view> &lines);

    void append(TextView text) override;
    void clear() override { console.clear(); }
    void prependLineBreak() override;
    void inform(const std::string &text) override;

private:
    struct Step
    {
        PlayState play;
        Game::State state;
    };

    void play(TextView line, Game &game);
    void checkWaiting() const;
    void checkStep(const Step &before, const Step &after) const;
    void checkMove(const Step &before, const Step &after) const;
    void checkTakeOrDrop(const Step &before, const Step &after) const;
    void checkCombine(const Step &before, const Step &after) const;
    void checkFacts();
    void checkResume(const Step &before, TextView line);
    void checkQuiet() const;

    const Game::Setup &setup;
    Game game;
    std::optional<Game> quiet; // shows nothing, as tools play; with twins only
    Text console;
    // What the console showed before a replay, kept from line to line.
    Text shownFirst;
    bool prepended = false;
    std::vector<bool> factsChecked;
};
