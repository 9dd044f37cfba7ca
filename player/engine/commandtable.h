// SPDX-License-Identifier: MIT
#pragma once

#include "direction.h"
#include "languagetable.h"

#include <array>
#include <optional>
#include <vector>

// How the player reads a typed command in one language: the word lists it
// tries, in a fixed order, and how each matches. The first list with a word
// that matches decides what the command is, so the order settles every
// word that two lists share. Tools that write commands for the player ask
// here which words it reads as what, rather than working it out again.
class CommandTable
{
public:
    enum class Command { North, South, East, West, Quit, Drop, Take, Combine, Help, Inventory };

    struct List
    {
        Command command;
        Message words;
        // A prefix list matches a command that begins with one of its words,
        // and what follows is what it applies to; any other list matches a
        // command equal to one of its words.
        bool prefix;
        const char *role; // what the words are for, as messages name it
    };
    static constexpr std::array<List, 10> Lists{{
        {Command::North, Message::NorthWords, false, "north"},
        {Command::South, Message::SouthWords, false, "south"},
        {Command::East, Message::EastWords, false, "east"},
        {Command::West, Message::WestWords, false, "west"},
        {Command::Quit, Message::QuitWords, false, "quit"},
        {Command::Drop, Message::DropWords, true, "drop"},
        {Command::Take, Message::TakeWords, true, "take"},
        {Command::Combine, Message::CombineWords, true, "combine"},
        {Command::Help, Message::HelpWords, false, "help"},
        {Command::Inventory, Message::InventoryWords, false, "inventory"},
    }};

    static constexpr Command move(Direction d) { return Command(int(d)); }
    static constexpr const List &list(Command command);

    CommandTable() = default;
    // The words are read once: a list with too many fields is not checked
    // here (the game stops on it when it tries the list).
    CommandTable(const LanguageTable &table, int language);

    // The first word of the list that key, a command in capitals, matches;
    // nullptr when none does. Every command the player reads tries it.
    const Text *match(const List &list, TextView key) const
    {
        for (const Text &word : words[int(list.command)]) {
            if (list.prefix ? key.substr(0, word.size()) == word : key == word)
                return &word;
        }
        return nullptr;
    }

    // What the player reads a typed command as: the first list that matches
    // it, and the word that matched.
    struct Reading
    {
        Command command;
        const Text *word;
    };
    std::optional<Reading> read(TextView typed) const;
    // Whether the player reads typed as command, by the word given.
    bool reads(TextView typed, Command command, const Text &word) const;

    // The words of command's list that a player can type for it, in list
    // order: each one the player reads, typed alone or, for a prefix list,
    // followed by rest (as typed() joins them), as that command by that word.
    std::vector<Text> wordsFor(Command command, TextView rest = {}) const;
    // The connectors the help shows between two names ("WITH/AND"), each
    // trimmed, blank ones left out. The player reads none of them.
    const std::vector<Text> &connectors() const { return connectorWords; }

    // A word that begins a command, followed by what it applies to: one
    // blank between them unless the word ends in one.
    static Text typed(TextView word, TextView rest);

private:
    std::array<std::vector<Text>, Lists.size()> words; // by Command
    std::vector<Text> connectorWords;
};

constexpr const CommandTable::List &CommandTable::list(Command command)
{
    for (const List &entry : Lists) {
        if (entry.command == command)
            return entry;
    }
    return Lists[0];
}
