// SPDX-License-Identifier: MIT
// Fuzz target: the studio's document. The document opens a level file, the
// author edits it (locations, items, rules, marks, undo and redo) and saves
// it; a fresh document opening the saved file holds exactly what a save
// keeps of the level, counts nothing modified, and saving it writes the same
// bytes. Every save along the way writes what the document said it would.
#include "documentinput.h"
#include "filebytes.h"
#include "fuzzcheck.h"
#include "keptbysave.h"
#include "leveldocument.h"
#include "levelwriter.h"
#include "scratchfolder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

// Inputs past this are not sessions anyone has; they only slow the run.
constexpr std::size_t MaxInput = 1 << 16;

using Names = std::array<Text, LevelDocument::ItemCount>;

// One OK the author can undo and redo, as the studio's commits keep it: the
// location's state, or the names and rules, before and after.
struct Step
{
    bool items = false;
    GridRef at;
    LevelDocument::LocationState before;
    LevelDocument::LocationState after;
    Names namesBefore;
    std::vector<Combo> rulesBefore;
    Names namesAfter;
    std::vector<Combo> rulesAfter;

    void undo(LevelDocument &document) const
    {
        if (items)
            document.updateitems(namesBefore, rulesBefore);
        else
            document.restore(at, before);
    }
    void redo(LevelDocument &document) const
    {
        if (items)
            document.updateitems(namesAfter, rulesAfter);
        else
            document.restore(at, after);
    }
};

// The undo history, as a stack of steps with the next step to redo.
struct History
{
    std::vector<Step> steps;
    std::size_t done = 0;

    void push(Step step)
    {
        steps.resize(done);
        steps.push_back(std::move(step));
        ++done;
    }
};

// One folder for the whole run, on a RAM disk where there is one: a save
// syncs its file, which on a real disk would cost more than all the rest.
const QString &folder()
{
    static const ScratchFolder dir;
    static const QString path = QString::fromStdString(dir.path);
    return path;
}

std::string contents(const QString &path)
{
    return FileBytes::read(path.toStdString(), nullptr).value_or("(no file)");
}

void itemsStep(LevelDocument &document, History &history, const Names &names, const std::vector<Combo> &rules)
{
    Step step;
    step.items = true;
    step.namesBefore = document.itemnames();
    step.rulesBefore = document.combotable();
    step.namesAfter = names;
    step.rulesAfter = rules;
    step.redo(document);
    history.push(std::move(step));
}

// Saves the document to path and checks what it wrote: the file it said it
// would, and read into a fresh document, what a save keeps of its level.
void saveAndReadBack(LevelDocument &document, const QString &path)
{
    const std::string expected = document.bytesToSave();
    document.levelfile = path;
    const LevelDocument::SaveResult result = document.save();
    FUZZ_CHECK(result.saved, "the save failed: " + result.error.toStdString());
    const std::string written = contents(path);
    FUZZ_CHECK(written == expected, "the save wrote other bytes than the document said it would");
    FUZZ_CHECK(document.bytesToSave() == expected, "the document changed what it would write by saving");
    FUZZ_CHECK(!document.isModified(), "the document counts itself modified right after its save");

    LevelDocument back;
    const QString error = back.loadgame(path);
    FUZZ_CHECK(error.isEmpty(), "the saved level does not read: " + error.toStdString());
    FUZZ_CHECK(!back.isModified(), "a level just opened counts as modified");

    const Level &level = document.level();
    // A file the document read as Latin-1 is written as Latin-1 where every
    // character fits; such a file may be valid UTF-8 and read so.
    bool toUtf8 = false;
    if (level.encoding == TextCodec::Encoding::Latin1 && back.level().encoding == TextCodec::Encoding::Utf8) {
        Level asUtf8 = level;
        asUtf8.encoding = TextCodec::Encoding::Utf8;
        toUtf8 = LevelWriter::write(asUtf8) != written;
    }
    FUZZ_CHECK(level.encoding == TextCodec::Encoding::Latin1 || back.level().encoding == TextCodec::Encoding::Utf8,
               "a UTF-8 level was saved as Latin-1");
    const Level kept = keptBySave(level);
    compareKept(kept, back.level(), toUtf8);
    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef at = GridRef::fromIndex(i);
        const bool used = !kept.records[i].isBlank();
        FUZZ_CHECK(back.inUse(at) == used && back.pictured(at) == used,
                   "location " + at.name() + " opened " + (back.inUse(at) ? "in use" : "unused") + " and "
                       + (back.pictured(at) ? "pictured" : "without a picture"));
    }

    // A rule row cut short reads back with "=" where a character was
    // missing, so its line changes on the next save; other files stay.
    const bool shortRule = std::any_of(level.combos.begin(), level.combos.end(), [](const Combo &combo) {
        return !combo.isFree() && (combo.second == 0 || combo.result == 0);
    });
    // What a save writes was checked above; a second one on disk would
    // only halve the executions.
    if (!shortRule)
        FUZZ_CHECK(back.bytesToSave() == written, "saving the level read back changes the file");
}

void apply(LevelDocument &document, History &history, const DocumentInput::Operation &op, const QString &path)
{
    using Kind = DocumentInput::Kind;
    switch (op.kind) {
    case Kind::Area: {
        // As the area editor commits: the location is marked in use first.
        Step step;
        step.at = op.at;
        step.before = document.locationState(op.at);
        document.setInUse(op.at, true);
        document.updategrid(op.at, op.record, op.freeItems);
        step.after = document.locationState(op.at);
        if (op.at.isValid())
            history.push(std::move(step));
        break;
    }
    case Kind::Mark:
        document.setInUse(op.at, op.used);
        break;
    case Kind::Open:
        document.restoreLineBreaks(op.at);
        break;
    case Kind::Name: {
        Names names = document.itemnames();
        names[op.index] = op.text;
        itemsStep(document, history, names, document.combotable());
        break;
    }
    case Kind::Rule:
    case Kind::Unrule: {
        std::vector<Combo> rules = document.combotable();
        const std::size_t row = std::size_t(op.index);
        if (op.kind == Kind::Unrule && row < rules.size())
            rules.erase(rules.begin() + std::ptrdiff_t(row));
        else if (op.kind == Kind::Rule && row < rules.size())
            rules[row] = Combo::fromLine(op.text);
        else if (op.kind == Kind::Rule)
            rules.push_back(Combo::fromLine(op.text));
        else
            break;
        itemsStep(document, history, document.itemnames(), rules);
        break;
    }
    case Kind::Undo:
        if (history.done > 0)
            history.steps[--history.done].undo(document);
        break;
    case Kind::Redo:
        if (history.done < history.steps.size())
            history.steps[history.done++].redo(document);
        break;
    case Kind::Save:
        saveAndReadBack(document, path);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxInput)
        return 0;
    const DocumentInput input = DocumentInput::decode(std::string_view(reinterpret_cast<const char *>(data), size));
    const QString opened = folder() + QStringLiteral("/opened.qw");
    if (std::FILE *out = std::fopen(opened.toLocal8Bit().constData(), "wb")) {
        std::fwrite(input.level.data(), 1, input.level.size(), out);
        std::fclose(out);
    }

    LevelDocument document;
    document.loadgame(opened);
    document.levelfile = opened;
    History history;
    const QString saved = folder() + QStringLiteral("/saved.qw");
    for (const DocumentInput::Operation &op : input.operations)
        apply(document, history, op, saved);
    saveAndReadBack(document, saved);
    return 0;
}
