// SPDX-License-Identifier: MIT
#include "unreachedcontent.h"

#include "combination.h"

#include <algorithm>

namespace {

constexpr const char *InNoPlay = " in any play from the start.";

} // namespace

UnreachedContent::UnreachedContent(const LevelReader::Result &read, const WinSearch::Met *met,
                                   const LevelLint::NeverPlayed &said)
{
    const Level &level = read.level;
    const LevelLines &lines = read.lines;
    auto warn = [this](std::optional<GridRef> where, int line, std::string text) {
        warnings.push_back({Problem::Severity::Warning, where, line, std::move(text)});
    };
    if (!met)
        warn(std::nullopt, 0, "No play from the start gets to this level.");

    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef ref = GridRef::fromIndex(i);
        if (level.records[i].isEmpty() || (met && met->entered.test(std::size_t(i))))
            continue;
        found.locations.push_back(ref);
        if (met && !said.locations.test(std::size_t(i)))
            warn(ref, lines.headers[i], "Location " + ref.name() + " is never entered" + InNoPlay);
    }

    std::uint32_t made = 0;
    for (const Combo &rule : level.combos) {
        if (const int item = ItemLetter::item(Combination::letter(rule.result)); item >= 0 && !rule.isFree())
            made |= 1u << item;
    }
    for (int item = 0; item < Level::ItemCount; ++item) {
        const Text &name = level.items[item];
        const bool placed = std::any_of(level.records.begin(), level.records.end(),
                                        [item](const LocationRecord &record) { return record.holdsItem(item); });
        const bool content = !text::isBlank(name) || placed || ((made >> item) & 1u);
        if (!content || (met && ((met->carried >> item) & 1u)))
            continue;
        const std::string letter(1, char(ItemLetter::of(item)));
        found.items.push_back(text::isBlank(name) ? letter : text::toUtf8(name));
        if (met && !((said.items >> item) & 1u)) {
            const std::string named = text::isBlank(name) ? "" : " (" + text::toUtf8(name) + ")";
            warn(std::nullopt, lines.items[item], "Item " + letter + named + " is never carried" + InNoPlay);
        }
    }

    for (std::size_t row = 0; row < level.combos.size(); ++row) {
        const Combo &rule = level.combos[row];
        if (rule.isFree())
            continue;
        const auto ingredients = Combination::ingredients(Combination::asPlayed(rule));
        auto joined = [&](const std::pair<int, int> &pair) {
            return pair == *ingredients || pair == std::pair(ingredients->second, ingredients->first);
        };
        const bool fired = met && ingredients && std::any_of(met->combined.begin(), met->combined.end(), joined);
        if (fired)
            continue;
        found.rules.push_back(text::toUtf8(rule.line()));
        if (met && !(row < said.rules.size() && said.rules[row])) {
            warn(std::nullopt, row < lines.combos.size() ? lines.combos[row] : 0,
                 "The rule " + text::inQuotes(rule.line()) + " never combines anything" + InNoPlay);
        }
    }
}
