// SPDX-License-Identifier: MIT
#include "levelwriter.h"

#include <algorithm>

namespace {

// Whether every text the file will hold fits Latin-1: one character that does
// not makes the whole file UTF-8, which keeps every character.
bool fitsLatin1(const Level &level)
{
    for (const Text &name : level.items) {
        if (!TextCodec::fitsLatin1(name))
            return false;
    }
    for (const LocationRecord &record : level.records) {
        if (!record.isBlank() && !TextCodec::fitsLatin1(record.text()))
            return false;
    }
    // A rule's line is its three characters and ASCII between them.
    return std::all_of(level.combos.begin(), level.combos.end(), [](const Combo &combo) {
        return combo.isFree() || (combo.first <= 0xFF && combo.second <= 0xFF && combo.result <= 0xFF);
    });
}

} // namespace

Text LevelWriter::itemName(TextView name)
{
    Text written(text::trimSpaces(name));
    std::replace(written.begin(), written.end(), U' ', U'-');
    return written;
}

std::string LevelWriter::write(const Level &level)
{
    const TextCodec::Encoding encoding = level.encoding == TextCodec::Encoding::Latin1 && fitsLatin1(level)
        ? TextCodec::Encoding::Latin1
        : TextCodec::Encoding::Utf8;
    // Room for the whole file at once: the map, each name, record and rule
    // with its line ends and headers, and an eighth more for characters that
    // take several bytes.
    std::string out;
    std::size_t size = 256 + 8 * level.combos.size();
    for (const Text &name : level.items)
        size += name.size() + name.size() / 8 + 4;
    for (const LocationRecord &record : level.records) {
        if (!record.isEmpty())
            size += record.text().size() + record.text().size() / 8 + 32;
    }
    out.reserve(size);
    auto put = [&out, encoding](TextView text) { TextCodec::appendEncoded(out, text, encoding); };

    out += "[MAP]\r\n";
    for (int row = 1; row <= GridRef::Size; ++row)
        out += std::to_string(row) + " ABCDEFGHI\r\n";
    out += "\r\n";

    out += "[ITEMS]\r\n";
    for (int i = 0; i < Level::ItemCount; ++i) {
        const Text name = itemName(level.items[i]);
        if (name.empty())
            continue;
        out += char(ItemLetter::of(i));
        out += ' ';
        put(name);
        out += "\r\n";
    }
    out += "\r\n";

    for (int i = 0; i < Level::LocationCount; ++i) {
        const LocationRecord &stored = level.records[i];
        if (stored.isBlank())
            continue;
        out += "[LOCATION " + GridRef::fromIndex(i).name() + "]\r\n";
        // A record in the form written is written as it is, not copied first.
        const bool normal = stored.isNormalised();
        const LocationRecord changed = normal ? LocationRecord() : stored.normalised();
        const TextView record = normal ? TextView(stored.text()) : TextView(changed.text());
        // Every piece is one line; the record's last "|" ends its last line.
        for (std::size_t start = 0; start < record.size();) {
            const std::size_t bar = std::min(record.find(U'|', start), record.size());
            put(record.substr(start, bar - start));
            out += "\r\n";
            start = bar + 1;
        }
        out += "\r\n";
    }

    out += "[COMBOS]\r\n";
    for (const Combo &combo : level.combos) {
        if (!combo.isFree()) {
            put(combo.lineInPlace());
            out += "\r\n";
        }
    }
    out += "\r\n";
    return out;
}
