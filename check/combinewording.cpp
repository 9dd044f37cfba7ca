// SPDX-License-Identifier: MIT
#include "combinewording.h"

namespace {

constexpr std::uint32_t AllItems = (1u << Level::ItemCount) - 1;
using Command = CommandTable::Command;

} // namespace

CombineWording::CombineWording(const CommandTable &commands, const Game::LoadedLevel &level,
                               const std::vector<std::pair<int, int>> &pairs)
{
    // The pieces sentences are made of: each combine word, each connector
    // then none, and each word of each item's name.
    auto phrase = [&level](TextView typed) {
        Sentence piece{Text(typed), {}};
        for (const Combination::Naming &word : Combination::named(typed, level.upperItems, AllItems))
            piece.names.push_back(word.items);
        return piece;
    };
    std::vector<Sentence> starts;
    for (const Text &word : commands.wordsFor(Command::Combine))
        starts.push_back(phrase(word));
    std::vector<Sentence> connectors;
    for (const Text &word : commands.connectors())
        connectors.push_back(phrase(word));
    connectors.push_back(Sentence{});
    std::array<std::vector<Sentence>, Level::ItemCount> pieces;
    for (int item = 0; item < Level::ItemCount; ++item) {
        for (TextView word : text::split(level.items[item], U' ')) {
            if (!word.empty())
                pieces[item].push_back(phrase(word));
        }
    }

    for (const auto &[a, b] : pairs) {
        Pair &pair = byPair.emplace_back(Pair{a, b, {}, {}, {}});
        for (const Sentence &start : starts) {
            auto add = [&](std::initializer_list<const Sentence *> parts) {
                Sentence sentence;
                for (const Sentence *part : parts) {
                    if (part->text.empty())
                        continue;
                    sentence.text = sentence.text.empty() ? part->text : CommandTable::typed(sentence.text, part->text);
                    sentence.names.insert(sentence.names.end(), part->names.begin(), part->names.end());
                }
                if (!commands.reads(sentence.text, Command::Combine, start.text))
                    return;
                pair.texts.push_back(std::move(sentence.text));
                pair.names.insert(pair.names.end(), sentence.names.begin(), sentence.names.end());
                pair.ends.push_back(std::uint32_t(pair.names.size()));
            };
            for (const Sentence &connector : connectors) {
                for (const Sentence &first : pieces[a]) {
                    for (const Sentence &second : pieces[b])
                        add({&start, &first, &connector, &second});
                }
            }
            // One word that is part of both names names both.
            for (const int item : {a, b}) {
                for (const Sentence &both : pieces[item])
                    add({&start, &both});
            }
        }
    }
}

const Text *CombineWording::command(std::size_t pair, std::uint32_t carried) const
{
    const Pair &entry = byPair[pair];
    std::uint32_t begin = 0;
    for (std::size_t i = 0; i < entry.texts.size(); ++i) {
        const std::uint32_t end = entry.ends[i];
        if (Combination::namesPair(entry.names.data() + begin, end - begin, carried, entry.a, entry.b))
            return &entry.texts[i];
        begin = end;
    }
    return nullptr;
}
