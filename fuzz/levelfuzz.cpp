// SPDX-License-Identifier: MIT
// Fuzz target: the level reader and, after it, the writer. Any bytes read as
// a level, or as an error that names its line with what was read before it
// kept. Saving that level and reading the file again gives exactly what a
// save keeps of it, and saving once more writes the same bytes.
#include "fuzzcheck.h"
#include "levelreader.h"
#include "levelwriter.h"

#include <algorithm>
#include <cstdint>

namespace {

// Inputs past this are not levels anyone shares; they only slow the run.
constexpr std::size_t MaxInput = 1 << 20;

std::string named(std::optional<GridRef> ref)
{
    return ref ? ref->name() : "none";
}

Text characters(const Combo &combo)
{
    return {combo.first, combo.second, combo.result};
}

// Whether a piece of the record is a START line, as the reader tells one.
bool startsHere(const LocationRecord &record)
{
    for (TextView piece : text::split(record.text(), U'|')) {
        if (LocationRecord::isStartLine(piece))
            return true;
    }
    return false;
}

// What a save keeps of a level, read back: each record in its written form
// and ended by the empty line's "|", names trimmed with "-" for inner
// spaces, the rules that have a first ingredient, one block a location in
// row-major order (so the last START in that order is the start).
Level keptBySave(const Level &read)
{
    Level kept;
    for (int i = 0; i < Level::LocationCount; ++i) {
        const LocationRecord &record = read.records[i];
        if (record.isBlank())
            continue;
        kept.records[i] = LocationRecord(record.normalised().withLineBreaks().text() + U'|');
        kept.blocks.push_back(GridRef::fromIndex(i));
        if (startsHere(kept.records[i]))
            kept.start = GridRef::fromIndex(i);
        for (TextView piece : text::split(kept.records[i].text(), U'|')) {
            if (const int item = LocationRecord::placedItemOfLine(piece); item >= 0)
                kept.placed[item] = true;
        }
    }
    for (int i = 0; i < Level::ItemCount; ++i) {
        Text name(text::trimSpaces(read.items[i]));
        std::replace(name.begin(), name.end(), U' ', U'-');
        kept.items[i] = name;
    }
    // A rule is written as its characters with "+" and "=" between them,
    // whatever is missing, and read back by position.
    for (const Combo &combo : read.combos) {
        if (!combo.isFree())
            kept.combos.push_back(Combo::fromLine(combo.line()));
    }
    kept.mapSections = 1;
    kept.encoding = read.encoding;
    return kept;
}

// A file read as Latin-1 for a byte in a line that is not kept (the map, a
// comment between sections) may be valid UTF-8 once saved: the bytes kept
// are the same, but they now read as UTF-8.
Text asReadAgain(const Text &text, bool toUtf8)
{
    return toUtf8 ? TextCodec::decodeUtf8Lossy(TextCodec::encode(text, TextCodec::Encoding::Latin1)) : text;
}

void compare(const Level &expected, const Level &got, bool toUtf8)
{
    for (int i = 0; i < Level::LocationCount; ++i) {
        const Text want = asReadAgain(expected.records[i].text(), toUtf8);
        FUZZ_CHECK(got.records[i].text() == want, "location " + GridRef::fromIndex(i).name() + " read back as "
                                                      + shown(got.records[i].text()) + ", not " + shown(want));
    }
    for (int i = 0; i < Level::ItemCount; ++i) {
        const Text want = asReadAgain(expected.items[i], toUtf8);
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
                *c = asReadAgain(Text(1, *c), toUtf8).at(0);
        }
        FUZZ_CHECK(got.combos[i] == want, "rule " + std::to_string(i + 1) + " read back as "
                                              + shown(characters(got.combos[i])) + ", not " + shown(characters(want)));
    }
    FUZZ_CHECK(got.start == expected.start, "start " + named(got.start) + ", not " + named(expected.start));
    FUZZ_CHECK(got.blocks == expected.blocks, "the blocks read back are not one a location in row-major order");
    FUZZ_CHECK(got.mapSections == 1, "a saved level holds " + std::to_string(got.mapSections) + " map sections");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const LevelReader::Result first = LevelReader::read(bytes, "fuzz.qw");
    if (!first.ok()) {
        const std::size_t lines = TextCodec::lines(TextCodec::decode(bytes)).size();
        FUZZ_CHECK(first.errorLine >= 1 && std::size_t(first.errorLine) <= lines,
                   "error on line " + std::to_string(first.errorLine) + " of " + std::to_string(lines));
        const std::string prefix = "Level file \"fuzz.qw\", line " + std::to_string(first.errorLine) + ": ";
        FUZZ_CHECK(first.error.compare(0, prefix.size(), prefix) == 0, "error without file and line: " + first.error);
    }

    // The reader's own findings agree with the records it kept.
    const Level &level = first.level;
    const Level kept = keptBySave(level);
    // A line holding "|" is one line in the file but several pieces of its
    // record, and a save writes each piece on its own line: the reader may
    // find fewer START and "ITEM X" lines than the record's pieces hold.
    for (int i = 0; i < Level::ItemCount; ++i)
        FUZZ_CHECK(!level.placed[i] || kept.placed[i], "item " + std::string(1, char('A' + i)) + " placed by no line");
    if (level.start)
        FUZZ_CHECK(startsHere(level.record(*level.start)), "start " + named(level.start) + " holds no START line");

    const std::string written = LevelWriter::write(level);
    const LevelReader::Result second = LevelReader::read(written, "saved.qw");
    FUZZ_CHECK(second.ok(), "a saved level does not read: " + second.error);
    const bool toUtf8 = level.encoding == TextCodec::Encoding::Latin1
        && second.level.encoding == TextCodec::Encoding::Utf8;
    FUZZ_CHECK(second.level.encoding == level.encoding || toUtf8, "a UTF-8 level was saved as Latin-1");
    compare(kept, second.level, toUtf8);
    // A rule row cut short reads back with "=" where a character was missing,
    // so its line changes on the next save too; then every file settles.
    const bool shortRule = std::any_of(level.combos.begin(), level.combos.end(), [](const Combo &combo) {
        return !combo.isFree() && (combo.second == 0 || combo.result == 0);
    });
    const std::string again = LevelWriter::write(second.level);
    if (!shortRule) {
        FUZZ_CHECK(again == written, "saving the level read back changes the file");
    } else {
        const LevelReader::Result third = LevelReader::read(again, "saved.qw");
        FUZZ_CHECK(LevelWriter::write(third.level) == again, "saving a level again and again keeps changing it");
    }
    return 0;
}
