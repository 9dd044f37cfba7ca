// SPDX-License-Identifier: MIT
#pragma once

#include "stategraph.h"
#include "winsearch.h"

#include <optional>

// Every play state a game can reach, explored whole (up to a limit), and
// what that tells beyond whether the game can be won: the dead ends, states
// from which no end of the game can be reached any more, and the ways into
// them. A command that takes the player from a state that can still win into
// a dead end, or that stops the game with an error, is a way to get stuck;
// they are told by their cause, the command and where it is typed (a
// combine, which does the same anywhere, by the command alone), as an
// author mends them, however many states they are typed in.
class DeadEndSearch
{
public:
    struct Way
    {
        std::string file; // the level file, as the game found it
        GridRef location; // for a combine, where the shortest way in types it
        // The shortest way in, from the start: its last command is the cause.
        std::vector<Text> walkthrough;
        // The play states that can still win in which that command, typed
        // there, gets the player stuck.
        std::size_t states = 0;
        std::string stopped; // why the game stops, when the command stops it
    };

    struct Outcome
    {
        // The verdict and the shortest walkthrough, as a search to the first
        // win finds them, and how many states were explored in all.
        WinSearch::Outcome win;
        // Whether some way gets the player stuck: nothing when the game
        // cannot be won, or when the search stopped at its limit and found
        // no way that it could prove.
        std::optional<bool> canGetStuck;
        std::vector<Way> ways; // the shortest way in first
        // What play met of each level the game loaded; only when every
        // reachable state was explored, as it is exact then.
        std::vector<WinSearch::Met> met;
    };

    DeadEndSearch(Game::Setup setup, int language, std::size_t maxStates, const std::atomic<bool> *cancel = nullptr);

    // Throws GameError as WinSearch::run() does.
    Outcome run();

private:
    WinSearch search;
    StateGraph graph;
};
