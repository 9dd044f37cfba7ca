// SPDX-License-Identifier: MIT
#include "levelwriter.h"

#include <algorithm>

std::string LevelWriter::write(const Level &level)
{
    constexpr TextView End = LocationRecord::LineBreak;
    Text text = Text(U"[MAP]") + Text(End);
    for (int row = 1; row <= GridRef::Size; ++row)
        text += char32_t(U'0' + row) + Text(U" ABCDEFGHI") + Text(End);
    text += End;

    text += U"[ITEMS]";
    text += End;
    for (int i = 0; i < Level::ItemCount; ++i) {
        Text name(text::trimSpaces(level.items[i]));
        if (name.empty())
            continue;
        std::replace(name.begin(), name.end(), U' ', U'-');
        text += char32_t(U'A' + i);
        text += U' ';
        text += name;
        text += End;
    }
    text += End;

    std::size_t size = text.size() + 4096;
    for (const LocationRecord &record : level.records)
        size += record.text().size() + record.text().size() / 8;
    text.reserve(size);
    for (int i = 0; i < Level::LocationCount; ++i) {
        const LocationRecord &record = level.records[i];
        if (record.isBlank())
            continue;
        const std::string name = GridRef::fromIndex(i).name();
        text += U"[LOCATION ";
        text.append(name.begin(), name.end());
        text += U']';
        text += End;
        text::appendReplacing(text, record.normalised().text(), U'|', End);
        text += End;
    }

    text += U"[COMBOS]";
    text += End;
    for (const Combo &combo : level.combos) {
        if (!combo.isFree()) {
            text += combo.fileLine();
            text += End;
        }
    }
    text += End;

    return TextCodec::encode(text, level.encoding);
}
