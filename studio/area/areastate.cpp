// SPDX-License-Identifier: MIT
#include "areastate.h"

#include <algorithm>

namespace {

constexpr TextView LineBreak = LocationRecord::LineBreak;

Text pathWarning(Direction d, TextView item, TextView problem, TextView advice)
{
    const std::string direction = directionName(d);
    return Text(U"Warning: the ") + Text(direction.begin(), direction.end()) + U" path requires a " + Text(item)
        + Text(problem) + Text(LineBreak) + Text(advice);
}

} // namespace

int AreaState::letterOf(TextView name, const Names &names)
{
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (!text::isBlank(names[item]) && names[item] == name)
            return item;
    }
    return Item::NoLetter;
}

AreaState AreaState::open(const LocationRecord &record, const Names &names,
                          const std::array<bool, Level::ItemCount> &placed, bool inUse)
{
    AreaState state;

    // The type tags win over the first guess, the last that applies over the others.
    state.type = record.editorKind(inUse ? Kind::Normal : Kind::NotUsed);
    if (state.type == Kind::LoadLevel) {
        LocationRecord::LevelLoad load = record.editorLevelLoad();
        state.levelFile = std::move(load.file);
        state.levelNarrative = std::move(load.comment);
    }

    for (Direction d : Directions) {
        Path &path = state.paths[int(d)];
        path.exists = record.hasPath(d);
        if (const std::optional<LocationRecord::Requirement> required = record.requirement(d)) {
            if (const int item = ItemLetter::item(required->letter); item >= 0)
                path.item = names[item];
            path.lockout = Text(required->lockout);
        }
    }

    for (int item = 0; item < Level::ItemCount; ++item) {
        if (record.holdsItem(item))
            state.itemsHere.push_back({names[item], item});
    }
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (!placed[item] && !text::isBlank(names[item]))
            state.unusedItems.push_back({names[item], item});
    }

    state.narrative = Text(record.editorNarrative());
    // A location with something to tell is in use.
    if (!text::isBlank(state.narrative) && state.type == Kind::NotUsed)
        state.type = Kind::Normal;
    return state;
}

AreaState::Commit AreaState::commit(const Names &names) const
{
    Commit result;
    LocationRecord::Contents contents;
    contents.narrative = narrative;
    contents.kind = type;
    contents.levelFile = levelFile;
    contents.levelComment = levelNarrative;

    for (Direction d : Directions) {
        const Path &path = paths[int(d)];
        LocationRecord::Path &written = contents.paths[int(d)];
        written.exists = path.exists;
        if (!path.exists || text::isBlank(path.item))
            continue;
        const int letter = letterOf(path.item, names);
        if (letter == Item::NoLetter) {
            // A requirement no item can meet would block the path for ever.
            result.warnings.push_back(pathWarning(d, path.item, U" but there is no item of that name!",
                                                  U"The path has been stored without a required item."));
            continue;
        }
        written.letter = ItemLetter::of(letter);
        written.lockout = path.lockout;
        if (text::isBlank(path.lockout)) {
            result.warnings.push_back(pathWarning(d, path.item, U" but gives no reason to the player!",
                                                  U"Please consider adding a Lockout Narrative."));
        }
    }

    // Each list counts its first 26 entries, one per item at most; entries
    // without a name stand for no item.
    auto letters = [&names](const std::vector<Item> &items) {
        std::vector<int> found;
        for (std::size_t i = 0; i < std::min<std::size_t>(items.size(), Level::ItemCount); ++i) {
            const Item &item = items[i];
            if (text::isBlank(item.name))
                continue;
            const int letter = item.letter == Item::NoLetter ? letterOf(item.name, names) : item.letter;
            if (letter != Item::NoLetter)
                found.push_back(letter);
        }
        return found;
    };
    contents.items = letters(itemsHere);
    for (int item : letters(unusedItems))
        result.freeItems |= std::uint32_t(1) << item;

    if (type == Kind::LoadLevel) {
        if (text::isBlank(levelNarrative)) {
            result.warnings.push_back(Text(U"You are loading a new level but you are not telling the player!")
                                      + Text(LineBreak) + U"Please consider adding a New Level Narrative.");
        }
        if (text::isBlank(levelFile)) {
            result.warnings.push_back(U"Warning: this area type is a 'load new level' but you have not "
                                      U"specified the level file name!");
        }
    }
    if (type == Kind::NotUsed) {
        // The location is dropped, and with it the items that lay here: they
        // are free for other locations at once.
        for (int item : contents.items)
            result.freeItems |= std::uint32_t(1) << item;
    }

    result.record = LocationRecord::compose(contents);
    return result;
}
