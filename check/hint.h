// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"

#include <atomic>
#include <cstddef>
#include <string>

// A hint from the game itself: the next command of a shortest way to win
// from where a game being played stands, in the language's own words, or
// that no win remains. It plays on from there in a quiet copy of the game,
// breadth first over every command that changes something, as the checker
// does from the start; the game given is left as it is.
class Hint
{
public:
    // The most play states a hint explores unless told otherwise: enough
    // for any state of the bundled adventure many times over.
    static constexpr std::size_t MaxStates = 2'000'000;
    // What a front end shows when the answer is not known: the search
    // stopped at its limit.
    static constexpr const char *NotFound = "No hint: the way on from here is too long to find.";
    // What it shows when the game waits for no command: an answer to a
    // question, a language, or nothing at all, as it has ended.
    static constexpr const char *NoCommand = "No hint now: the game waits for no command.";

    struct Answer
    {
        enum class Kind {
            Command, // type command
            NoWin, // no way from here ends the game
            Unknown, // the search stopped at its limit, or the game waits for no command
        };
        Kind kind = Kind::Unknown;
        Text command;
        std::size_t steps = 0; // the commands of the shortest way to win from here
    };

    // game: waiting for a command; it is copied first, so a front end that
    // searches on another thread hands it a copy it made on its own (as
    // Game::quietCopy makes one). cancel, when given and set (from another
    // thread), stops the search, whose answer is then unknown.
    static Answer next(const Game &game, std::size_t maxStates = MaxStates,
                       const std::atomic<bool> *cancel = nullptr);
    // The line a front end shows: "Hint: TAKE lantern", or "You can no
    // longer win from here."; empty when the answer is not known. UTF-8.
    static std::string line(const Answer &answer);
    // The line a front end shows for the game as it stands, never empty:
    // the hint, or why there is none. Throws nothing.
    static std::string say(const Game &game, std::size_t maxStates = MaxStates,
                           const std::atomic<bool> *cancel = nullptr);
};
