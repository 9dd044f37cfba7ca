// SPDX-License-Identifier: MIT
#include "commandtable.h"

CommandTable::CommandTable(const LanguageTable &table, int language)
{
    for (const List &entry : Lists) {
        for (TextView word : table.words(language, entry.words))
            words[int(entry.command)].emplace_back(word);
    }
    for (TextView piece : text::split(table.message(language, Message::Connectors), U'/')) {
        if (!text::isBlank(piece))
            connectorWords.emplace_back(text::trimSpaces(piece));
    }
}

std::optional<CommandTable::Reading> CommandTable::read(TextView typed) const
{
    const Text key = text::upper(typed);
    for (const List &entry : Lists) {
        if (const Text *word = match(entry, key))
            return Reading{entry.command, word};
    }
    return std::nullopt;
}

bool CommandTable::reads(TextView typed, Command command, const Text &word) const
{
    const std::optional<Reading> reading = read(typed);
    return reading && reading->command == command && *reading->word == word;
}

std::vector<Text> CommandTable::wordsFor(Command command, TextView rest) const
{
    std::vector<Text> usable;
    const List &entry = list(command);
    for (const Text &word : words[int(command)]) {
        if (reads(entry.prefix ? typed(word, rest) : word, command, word))
            usable.push_back(word);
    }
    return usable;
}

Text CommandTable::typed(TextView word, TextView rest)
{
    Text command(word);
    if (!command.empty() && command.back() != U' ')
        command += U' ';
    command += rest;
    return command;
}
