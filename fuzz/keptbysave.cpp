// SPDX-License-Identifier: MIT
#include "keptbysave.h"

#include "fuzzcheck.h"
#include "levelwriter.h"

namespace {

std::string named(std::optional<GridRef> ref)
{
    return ref ? ref->name() : "none";
}

Text characters(const Combo &combo)
{
    return {combo.first, combo.second, combo.result};
}

// A file read as Latin-1 for a byte in a line that is not kept (the map, a
// comment between sections) may be valid UTF-8 once saved: the bytes kept
// are the same, but they now read as UTF-8. Converted into buffer; the text
// itself when nothing changes, as for nearly every file.
const Text &asReadAgain(const Text &text, bool toUtf8, Text &buffer)
{
    if (!toUtf8)
        return text;
    buffer = TextCodec::decodeUtf8Lossy(TextCodec::encode(text, TextCodec::Encoding::Latin1));
    return buffer;
}

// Calls f with each piece of a record between "|", in place.
template<typename F>
void forEachPiece(TextView record, F f)
{
    for (std::size_t start = 0;;) {
        const std::size_t bar = record.find(U'|', start);
        f(record.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
        if (bar == TextView::npos)
            return;
        start = bar + 1;
    }
}

} // namespace

bool startsHere(const LocationRecord &record)
{
    bool found = false;
    forEachPiece(record.text(), [&found](TextView piece) { found = found || LocationRecord::isStartLine(piece); });
    return found;
}

Level keptBySave(const Level &read)
{
    Level kept;
    for (int i = 0; i < Level::LocationCount; ++i) {
        const LocationRecord &record = read.records[i];
        if (record.isBlank())
            continue;
        // Most records are in the written form already, without a line break.
        Text text;
        if (record.isNormalised() && record.text().find(U'~') == Text::npos) {
            text.reserve(record.text().size() + 1);
            text = record.text();
        } else {
            text = record.normalised().withLineBreaks().text();
        }
        text += U'|';
        kept.records[i] = LocationRecord(std::move(text));
        kept.blocks.push_back(GridRef::fromIndex(i));
        bool starts = false;
        forEachPiece(kept.records[i].text(), [&](TextView piece) {
            starts = starts || LocationRecord::isStartLine(piece);
            if (const int item = LocationRecord::placedItemOfLine(piece); item >= 0)
                kept.placed[item] = true;
        });
        if (starts)
            kept.start = GridRef::fromIndex(i);
    }
    for (int i = 0; i < Level::ItemCount; ++i)
        kept.items[i] = LevelWriter::itemName(read.items[i]);
    // A rule is written as its characters with "+" and "=" between them,
    // whatever is missing, and read back by position.
    for (const Combo &combo : read.combos) {
        if (!combo.isFree())
            kept.combos.push_back(Combo::fromLine(combo.lineInPlace()));
    }
    kept.mapSections = 1;
    kept.encoding = read.encoding;
    return kept;
}

void compareKept(const Level &expected, const Level &got, bool toUtf8)
{
    Text buffer;
    for (int i = 0; i < Level::LocationCount; ++i) {
        const Text &want = asReadAgain(expected.records[i].text(), toUtf8, buffer);
        FUZZ_CHECK(got.records[i].text() == want, "location " + GridRef::fromIndex(i).name() + " read back as "
                                                      + shown(got.records[i].text()) + ", not " + shown(want));
    }
    for (int i = 0; i < Level::ItemCount; ++i) {
        const Text &want = asReadAgain(expected.items[i], toUtf8, buffer);
        FUZZ_CHECK(got.items[i] == want, "item " + std::string(1, char('A' + i)) + " read back as "
                                             + shown(got.items[i]) + ", not " + shown(want));
        FUZZ_CHECK(got.placed[i] == expected.placed[i], "item " + std::string(1, char('A' + i)) + " placed "
                                                            + std::to_string(got.placed[i]) + " after a save");
    }
    FUZZ_CHECK(got.combos.size() == expected.combos.size(),
               std::to_string(got.combos.size()) + " rules read back, not " + std::to_string(expected.combos.size()));
    for (std::size_t i = 0; i < got.combos.size(); ++i) {
        Combo want = expected.combos[i];
        for (char32_t *c : {&want.first, &want.second, &want.result}) {
            if (*c != 0)
                *c = asReadAgain(Text(1, *c), toUtf8, buffer).at(0);
        }
        FUZZ_CHECK(got.combos[i] == want, "rule " + std::to_string(i + 1) + " read back as "
                                              + shown(characters(got.combos[i])) + ", not " + shown(characters(want)));
    }
    FUZZ_CHECK(got.start == expected.start, "start " + named(got.start) + ", not " + named(expected.start));
    FUZZ_CHECK(got.blocks == expected.blocks, "the blocks read back are not one a location in row-major order");
    FUZZ_CHECK(got.mapSections == 1, "a saved level holds " + std::to_string(got.mapSections) + " map sections");
}

