// SPDX-License-Identifier: MIT
#pragma once

#include "commandwords.h"
#include "level.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Words a combine command for two carried items in one level. The game takes
// every word of such a command that occurs inside a carried item's name as
// naming that item, the combine word and connector included, so the natural
// sentence "COMBINE rope WITH hook" may name a third item or the same one
// twice. This picks the first wording whose words name exactly the two.
class CombineWording
{
public:
    CombineWording(const CommandWords &words, const std::array<Text, Level::ItemCount> &items);

    // Items a and b (0 to 25) while the items of carried (bit n: item n) are
    // carried; nothing when no wording names exactly those two.
    std::optional<Text> command(int a, int b, std::uint32_t carried) const;

private:
    // A piece of text typed as it stands, with the items each of its words
    // names whenever they are carried.
    struct Phrase
    {
        Text text;
        std::vector<std::uint32_t> names;
    };

    Phrase phrase(TextView typed) const;

    std::array<Text, Level::ItemCount> upperItems;
    std::vector<Phrase> starts; // each combine word
    std::vector<Phrase> connectors; // each connector, then none
    std::array<std::vector<Phrase>, Level::ItemCount> pieces; // the words of each name
};
