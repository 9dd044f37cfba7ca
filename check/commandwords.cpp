// SPDX-License-Identifier: MIT
#include "commandwords.h"

#include <algorithm>

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
    // Directions and quit are tried before inventory and help: a word of
    // theirs would move or ask to quit instead.
    std::vector<Text> taken;
    for (const int list : {15, 16, 17, 18, 25}) {
        for (const Text &word : table.fields(language, list))
            taken.push_back(word);
    }
    for (const int list : {24, 23}) {
        for (const Text &word : table.fields(language, list)) {
            if (idleWord.empty() && recognisable(word) && std::find(taken.begin(), taken.end(), word) == taken.end())
                idleWord = word;
        }
    }
}

Text CommandWords::joined(TextView word, TextView rest)
{
    Text command(word);
    if (!command.empty() && command.back() != U' ')
        command += U' ';
    command += rest;
    return command;
}
