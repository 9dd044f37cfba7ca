// SPDX-License-Identifier: MIT
#pragma once

#include "problem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The outcome of a check: the problems found, whether the level can be won
// and the shortest way to win it. A front end shows it; the tool writes it
// as text or JSON.
struct CheckReport
{
    std::vector<Problem> problems;
    // true: winnable; false: proved not winnable; nothing: not known (the
    // search stopped at its limit) or not searched (a language file alone).
    std::optional<bool> winnable;
    bool searched = false;
    std::vector<std::string> walkthrough; // the commands, UTF-8
    std::size_t states = 0; // play states the search stored
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
