// SPDX-License-Identifier: MIT
#include "commandwords.h"

#include <algorithm>

namespace {

// A word the game can match: commands are upper-cased before they are compared.
bool recognisable(TextView word)
{
    return !word.empty() && text::upper(word) == word;
}

// The words the lists tried before a command's list would take instead of
// it: whole words (directions, quit) and words that begin a command (drop,
// take).
struct Earlier
{
    std::vector<Text> whole;
    std::vector<Text> starts;

    bool catches(TextView word, bool prefix) const
    {
        if (std::find(whole.begin(), whole.end(), word) != whole.end())
            return true;
        // A word that begins the command takes it whatever follows.
        return prefix && std::any_of(starts.begin(), starts.end(), [&word](const Text &start) {
                   return !start.empty() && word.starts_with(start);
               });
    }
};

// The first word of a list that the game recognises as that list's.
Text firstUsable(const LanguageTable::Fields &fields, const Earlier &earlier, bool prefix)
{
    for (TextView word : fields) {
        if (recognisable(word) && !earlier.catches(word, prefix))
            return Text(word);
    }
    return {};
}

} // namespace

CommandWords::CommandWords(const LanguageTable &table, int language)
{
    // The lists in the order the game tries them: each word chosen is one
    // that no list tried earlier takes.
    Earlier earlier;
    for (Direction d : Directions) {
        const LanguageTable::Fields &words = table.fields(language, 15 + int(d));
        directions[int(d)] = firstUsable(words, earlier, false);
        earlier.whole.insert(earlier.whole.end(), words.begin(), words.end());
    }
    const LanguageTable::Fields &quit = table.fields(language, 25);
    earlier.whole.insert(earlier.whole.end(), quit.begin(), quit.end());
    const LanguageTable::Fields &drops = table.fields(language, 19);
    dropWord = firstUsable(drops, earlier, true);
    earlier.starts.insert(earlier.starts.end(), drops.begin(), drops.end());
    const LanguageTable::Fields &takes = table.fields(language, 20);
    takeWord = firstUsable(takes, earlier, true);
    earlier.starts.insert(earlier.starts.end(), takes.begin(), takes.end());
    for (TextView word : table.fields(language, 22)) {
        if (recognisable(word) && !earlier.catches(word, true))
            combineWords.emplace_back(word);
    }
    for (TextView piece : text::split(table.message(language, 21), U'/')) {
        if (!text::isBlank(piece))
            connectorWords.emplace_back(text::trimSpaces(piece));
    }
    // An inventory or help word that a drop, take or combine word begins
    // would be read as that command instead.
    const LanguageTable::Fields &combines = table.fields(language, 22);
    earlier.starts.insert(earlier.starts.end(), combines.begin(), combines.end());
    for (const int list : {24, 23}) {
        for (TextView word : table.fields(language, list)) {
            if (idleWord.empty() && recognisable(word) && !earlier.catches(word, true))
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
