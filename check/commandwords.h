// SPDX-License-Identifier: MIT
#pragma once

#include "direction.h"
#include "languagetable.h"

#include <array>
#include <vector>

// The words of one language that a walkthrough is written in: for each
// command the first word of its list that the game recognises as that
// list's (in capitals, and not taken by a list the game tries before), so
// that a player typing them does what the search did.
class CommandWords
{
public:
    // Throws GameError for a list the game could not split either.
    CommandWords(const LanguageTable &table, int language);

    // Empty when the list holds no word the game recognises.
    const Text &direction(Direction d) const { return directions[int(d)]; }
    const Text &take() const { return takeWord; }
    const Text &drop() const { return dropWord; }
    // Every recognisable combine word, in the order of its list.
    const std::vector<Text> &combine() const { return combineWords; }
    // The connector words shown by the help ("WITH/AND"), as written.
    const std::vector<Text> &connectors() const { return connectorWords; }
    // A command that changes nothing but lets a turn go by: the first
    // inventory or else help word that no list tried before takes (it would
    // move, ask to quit, take...), else an empty line, which no list holds.
    const Text &idle() const { return idleWord; }

    // A word that is matched at the start of a command, followed by what it
    // applies to: one blank between them unless the word ends in one.
    static Text joined(TextView word, TextView rest);

private:
    std::array<Text, 4> directions;
    Text takeWord;
    Text dropWord;
    std::vector<Text> combineWords;
    std::vector<Text> connectorWords;
    Text idleWord;
};
