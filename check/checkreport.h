// SPDX-License-Identifier: MIT
#pragma once

#include "gridref.h"
#include "problem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The outcome of a check: the problems found, whether the level can be won
// and the shortest way to win it, the ways to get stuck and what no play
// reaches. A front end shows it; the tool writes it as text or JSON.
struct CheckReport
{
    // A way to get stuck: a command that, typed at a location, takes the
    // player from a state that can still win into one that cannot (a dead
    // end), or stops the game with an error.
    struct DeadEnd
    {
        GridRef location;
        std::string file; // the level file it lies in
        bool chained = false; // a level the one checked chains to
        int line = 0; // of the location's block
        std::string command; // UTF-8, as in the walkthrough
        // The shortest way in, from the start; the command is its last.
        std::vector<std::string> walkthrough;
        // The play states, each still winnable, in which the command gets
        // the player stuck.
        std::size_t states = 0;
        std::string stopped; // why the game stops, when it does
    };
    // What no play reaches in one level file: locations never entered,
    // items never carried, rules that never combine anything.
    struct Unreached
    {
        std::string file;
        std::vector<GridRef> locations;
        std::vector<std::string> items; // their names (the letter when unnamed)
        std::vector<std::string> rules; // as the file writes them: "A+B=C"
    };

    std::vector<Problem> problems;
    // true: winnable; false: proved not winnable; nothing: not known (the
    // search stopped at its limit) or not searched (a language file alone).
    std::optional<bool> winnable;
    bool searched = false;
    std::vector<std::string> walkthrough; // the commands, UTF-8
    std::size_t states = 0; // play states the search stored up to the first win
    std::size_t explored = 0; // play states explored in all
    // Whether some way gets the player stuck; nothing when the level cannot
    // be won or the search stopped at its limit without proving one.
    std::optional<bool> canGetStuck;
    std::vector<DeadEnd> deadEnds; // the shortest way in first
    // The level checked first, then each level it chains to that has
    // something no play reaches; nothing when the search did not explore
    // every state.
    std::optional<std::vector<Unreached>> unreached;
    // Why the check could not be made (a file that cannot be read, a
    // language the file does not hold); empty when it was made.
    std::string failure;

    bool hasErrors() const
    {
        for (const Problem &problem : problems) {
            if (problem.isError())
                return true;
        }
        return false;
    }
    // 0: winnable and no errors; 1: errors, or not proved winnable; 2: the
    // check could not be made.
    int exitStatus() const
    {
        if (!failure.empty())
            return 2;
        if (hasErrors() || (searched && winnable != true))
            return 1;
        return 0;
    }
};
