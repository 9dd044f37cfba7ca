// SPDX-License-Identifier: MIT
#pragma once

#include "checkreport.h"

#include <string>

// A check's outcome for an author to read: the problems, one a line with
// where they are, a count, then the verdict and the numbered walkthrough,
// and the ways to get stuck.
class TextReport
{
public:
    static std::string write(const CheckReport &report);
    // "In 3C, DROP lamp: the game can no longer be won (412 play states).
    // Shortest way in: E, N, TAKE lamp, DROP lamp"
    static std::string deadEnd(const CheckReport::DeadEnd &way);
    // "4,000,000"
    static std::string number(std::size_t value);

private:
    static std::string waysToGetStuck(const CheckReport &report);
};
