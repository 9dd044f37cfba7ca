// SPDX-License-Identifier: MIT
#include "combinewording.h"

#include <bit>

namespace {

// How many operands the words give while carried is carried, and which items.
struct Count
{
    int operands = 0;
    std::uint32_t items = 0;

    void add(std::uint32_t names)
    {
        operands += std::popcount(names);
        items |= names;
    }
};

} // namespace

CombineWording::CombineWording(const CommandWords &words, const std::array<Text, Level::ItemCount> &items)
{
    for (int item = 0; item < Level::ItemCount; ++item)
        upperItems[item] = text::upper(items[item]);
    for (const Text &word : words.combine())
        starts.push_back(phrase(word));
    for (const Text &word : words.connectors())
        connectors.push_back(phrase(word));
    connectors.push_back(Phrase{});
    for (int item = 0; item < Level::ItemCount; ++item) {
        for (TextView word : text::split(items[item], U' ')) {
            if (!word.empty())
                pieces[item].push_back(phrase(word));
        }
    }
}

CombineWording::Phrase CombineWording::phrase(TextView typed) const
{
    Phrase result{Text(typed), {}};
    for (TextView word : text::split(typed, U' ')) {
        if (word.empty())
            continue;
        const Text upper = text::upper(word);
        std::uint32_t names = 0;
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (text::contains(upperItems[item], upper))
                names |= 1u << item;
        }
        result.names.push_back(names);
    }
    return result;
}

std::optional<Text> CombineWording::command(int a, int b, std::uint32_t carried) const
{
    const std::uint32_t wanted = 1u << a | 1u << b;
    for (const Phrase &start : starts) {
        for (const Phrase &connector : connectors) {
            Count frame;
            for (std::uint32_t names : start.names)
                frame.add(names & carried);
            for (std::uint32_t names : connector.names)
                frame.add(names & carried);
            if (frame.operands > 2)
                continue;
            for (const Phrase &first : pieces[a]) {
                for (const Phrase &second : pieces[b]) {
                    Count count = frame;
                    count.add(first.names[0] & carried);
                    count.add(second.names[0] & carried);
                    if (count.operands == 2 && count.items == wanted) {
                        Text typed = CommandWords::joined(start.text, first.text);
                        if (!connector.text.empty())
                            typed = CommandWords::joined(typed, connector.text);
                        return CommandWords::joined(typed, second.text);
                    }
                }
            }
        }
        // One word that is part of both names names both.
        for (const int item : {a, b}) {
            for (const Phrase &both : pieces[item]) {
                Count count;
                for (std::uint32_t names : start.names)
                    count.add(names & carried);
                count.add(both.names[0] & carried);
                if (count.operands == 2 && count.items == wanted)
                    return CommandWords::joined(start.text, both.text);
            }
        }
    }
    return std::nullopt;
}
