// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// A fault that stops the game: a language file that cannot be used, a level
// without a start location. Thrown inside the game and caught where a front
// end handed it control, which then shows the description and stops.
struct GameError
{
    std::string description; // UTF-8
    int line = 0; // the line of the file at fault; 0 when there is none
};
