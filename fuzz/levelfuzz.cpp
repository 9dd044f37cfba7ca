// SPDX-License-Identifier: MIT
// Fuzz target: the level reader and, after it, the writer. Any bytes read as
// a level, or as an error that names its line with what was read before it
// kept. Saving that level and reading the file again gives exactly what a
// save keeps of it, and saving once more writes the same bytes.
#include "fuzzcheck.h"
#include "keptbysave.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const LevelReader::Result first = LevelReader::read(bytes, "fuzz.qw");
    if (!first.ok()) {
        // Line ends are the same bytes in either encoding.
        const std::size_t lines = TextCodec::lines(TextCodec::content(bytes, TextCodec::detect(bytes))).size();
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
    compareKept(kept, second.level, toUtf8);
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
