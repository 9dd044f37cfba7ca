// SPDX-License-Identifier: MIT
#include "commandwords.h"

namespace {

// A word the game can match: commands are upper-cased before they are compared.
bool recognisable(const Text &word)
{
    return !word.empty() && text::upper(word) == word;
}

Text firstRecognisable(const LanguageTable::Fields &fields)
{
    for (const Text &word : fields) {
        if (recognisable(word))
            return word;
    }
    return {};
}

} // namespace

CommandWords::CommandWords(const LanguageTable &table, int language)
{
    for (Direction d : Directions)
        directions[int(d)] = firstRecognisable(table.fields(language, 15 + int(d)));
    dropWord = firstRecognisable(table.fields(language, 19));
    takeWord = firstRecognisable(table.fields(language, 20));
    for (const Text &word : table.fields(language, 22)) {
        if (recognisable(word))
            combineWords.push_back(word);
    }
    for (TextView piece : text::split(table.message(language, 21), U'/')) {
        if (!text::isBlank(piece))
            connectorWords.emplace_back(text::trimSpaces(piece));
    }
    idleWord = firstRecognisable(table.fields(language, 24));
    if (idleWord.empty())
        idleWord = firstRecognisable(table.fields(language, 23));
}

Text CommandWords::joined(TextView word, TextView rest)
{
    Text command(word);
    if (!command.empty() && command.back() != U' ')
        command += U' ';
    command += rest;
    return command;
}
