// SPDX-License-Identifier: MIT
#include "levellint.h"

#include "combination.h"
#include "levellookup.h"

#include <filesystem>

namespace {

using Severity = Problem::Severity;
using text::inQuotes;

std::string letter(int item)
{
    return std::string(1, char(ItemLetter::of(item)));
}

// A tag's word as a message quotes it.
std::string tagName(TextView word)
{
    return text::toUtf8(word);
}

Direction opposite(Direction d)
{
    constexpr Direction back[] = {Direction::South, Direction::North, Direction::West, Direction::East};
    return back[int(d)];
}

std::string exitName(Direction d, GridRef from)
{
    return std::string("The exit ") + directionName(d) + " from " + from.name();
}

// The first word of the phrases that occurs in the name (in capitals).
std::optional<Text> caughtBy(const Text &upperName, const std::vector<Text> &phrases)
{
    for (const Text &phrase : phrases) {
        for (TextView word : text::split(phrase, U' ')) {
            if (!word.empty() && text::contains(upperName, text::upper(word)))
                return text::upper(word);
        }
    }
    return std::nullopt;
}

} // namespace

LevelLint::LevelLint(const LevelReader::Result &read, const std::string &path, bool chained,
                     const CommandTable &commands)
    : level(read.level)
    , lines(read.lines)
    , path(path)
{
    // A fault that lost nothing the player plays through, after saying so.
    if (!read.ok() && read.whole()) {
        add(Severity::Warning, std::nullopt, read.errorLine,
            read.error
                + " The player still reads all of it, but shows this message first; an empty last line mends it.");
    } else if (!read.ok()) {
        add(Severity::Error, std::nullopt, read.errorLine, read.error);
    }
    checkStart(chained);
    checkExits();
    checkReach();
    checkItems(commands);
    checkRules();
    checkLevelLoads();
    checkTagsInTexts();
}

void LevelLint::add(Severity severity, std::optional<GridRef> where, int line, std::string text)
{
    found.push_back({severity, where, line, std::move(text)});
}

int LevelLint::lineOf(GridRef ref, TextView piece) const
{
    const TextView record = level.record(ref).text();
    if (piece.data() < record.data() || piece.data() > record.data() + record.size())
        return lines.headers[ref.index()];
    return lines.lineAt(ref, std::size_t(piece.data() - record.data()));
}

int LevelLint::lineAt(GridRef ref, std::size_t offset) const
{
    if (offset > level.record(ref).text().size())
        return lines.headers[ref.index()];
    return lines.lineAt(ref, offset);
}

std::string LevelLint::itemName(int item) const
{
    const Text &name = level.items[item];
    return "item " + letter(item) + (text::isBlank(name) ? "" : " (" + text::toUtf8(name) + ")");
}

void LevelLint::checkStart(bool chained)
{
    if (!level.start) {
        if (chained) {
            add(Severity::Warning, std::nullopt, 0,
                "The level has no start location (no " + tagName(LocationRecord::StartTag)
                    + " line): the game goes on at the row and column where the level that loads it was left.");
        } else {
            add(Severity::Error, std::nullopt, 0,
                "The level has no start location: no location has a " + tagName(LocationRecord::StartTag)
                    + " line, so the player stops at once.");
        }
        return;
    }
    if (lines.starts.empty())
        return;
    const auto &[last, lastLine] = lines.starts.back();
    for (std::size_t i = 0; i + 1 < lines.starts.size(); ++i) {
        const auto &[ref, line] = lines.starts[i];
        add(Severity::Warning, ref, line,
            "This " + tagName(LocationRecord::StartTag) + " line does not count: a later one, at " + last.name()
                + " (line " + std::to_string(lastLine) + "), wins, and the game starts there.");
    }
}

void LevelLint::checkExits()
{
    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef from = GridRef::fromIndex(i);
        const LocationRecord &record = level.record(from);
        if (record.isEmpty())
            continue;
        for (Direction d : Directions) {
            if (!record.hasPath(d))
                continue;
            const int line = lineAt(from, record.pathAt(d));
            const GridRef to = step(from, d);
            if (!to.isValid()) {
                add(Severity::Error, from, line,
                    exitName(d, from) + " leads off the map: going " + directionName(d)
                        + " there only answers that there is no way.");
            } else if (level.record(to).isEmpty()) {
                add(Severity::Error, from, line,
                    exitName(d, from) + " leads to " + to.name()
                        + ", which is not part of the level (it has no block): a player who goes there is stuck in "
                          "an empty place.");
            } else if (!level.record(to).hasPath(opposite(d))) {
                add(Severity::Warning, from, line,
                    exitName(d, from) + " to " + to.name() + " is one-way: " + to.name() + " has no exit "
                        + directionName(opposite(d)) + " back.");
            }
            const auto requirement = record.requirement(d);
            if (!requirement)
                continue;
            const int item = ItemLetter::item(requirement->letter);
            if (requirement->letter == 0) {
                add(Severity::Error, from, line,
                    exitName(d, from) + " requires an item but names none, so it never opens.");
            } else if (item < 0) {
                add(Severity::Error, from, line,
                    exitName(d, from) + " requires " + inQuotes(TextView(&requirement->letter, 1))
                        + ", which is not an item letter A to Z, so it never opens.");
            } else if (text::isBlank(level.items[item])) {
                add(Severity::Error, from, line,
                    exitName(d, from) + " requires item " + letter(item)
                        + ", which has no name: the player cannot ask for it by name.");
            }
        }
    }
}

void LevelLint::checkReach()
{
    if (!level.start)
        return;
    std::array<bool, Level::LocationCount> reached{};
    std::vector<GridRef> queue{*level.start};
    reached[level.start->index()] = true;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const GridRef from = queue[next];
        for (Direction d : Directions) {
            const GridRef to = step(from, d);
            if (level.record(from).hasPath(d) && to.isValid() && !level.record(to).isEmpty() && !reached[to.index()]) {
                reached[to.index()] = true;
                queue.push_back(to);
            }
        }
    }
    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef ref = GridRef::fromIndex(i);
        if (!level.record(ref).isEmpty() && !reached[i]) {
            never.locations.set(std::size_t(i));
            add(Severity::Warning, ref, lines.headers[i],
                "Location " + ref.name() + " cannot be reached: no way along exits leads there from the start "
                    + level.start->name() + ".");
        }
    }
}

void LevelLint::checkItems(const CommandTable &commands)
{
    std::array<bool, Level::ItemCount> placed{};
    std::array<bool, Level::ItemCount> made{};
    for (int i = 0; i < Level::LocationCount; ++i) {
        const LocationRecord &record = level.records[i];
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (!record.holdsItem(item))
                continue;
            placed[item] = true;
            if (text::isBlank(level.items[item])) {
                never.items |= 1u << item;
                const GridRef ref = GridRef::fromIndex(i);
                add(Severity::Warning, ref, lineAt(ref, record.itemAt(item)),
                    "Location " + ref.name() + " holds item " + letter(item)
                        + ", which has no name: the player sees it announced without one.");
            }
        }
    }
    for (const Combo &rule : level.combos) {
        if (const int item = ItemLetter::item(Combination::letter(rule.result)); item >= 0 && !rule.isFree())
            made[item] = true;
    }

    // The words a combine command is made of also name items.
    std::vector<Text> catching = commands.wordsFor(CommandTable::Command::Combine);
    for (const Text &word : commands.connectors())
        catching.push_back(word);

    for (int item = 0; item < Level::ItemCount; ++item) {
        const Text &name = level.items[item];
        if (text::isBlank(name))
            continue;
        const int line = lines.items[item];
        if (!placed[item] && !made[item]) {
            never.items |= 1u << item;
            add(Severity::Warning, std::nullopt, line,
                "Item " + letter(item) + " (" + text::toUtf8(name)
                    + ") lies nowhere at the start and no rule makes it, so the player can never have it.");
        }
        const Text upper = text::upper(name);
        for (int other = 0; other < item; ++other) {
            if (!text::isBlank(level.items[other]) && text::upper(level.items[other]) == upper) {
                add(Severity::Warning, std::nullopt, line,
                    "Items " + letter(other) + " and " + letter(item) + " are both named " + inQuotes(name)
                        + ": a take or drop of that name takes or drops both where both are, and a combine command "
                          "cannot tell them apart.");
                break;
            }
        }
        if (text::trimSpaces(name).size() != name.size()) {
            never.items |= 1u << item;
            add(Severity::Warning, std::nullopt, line,
                "The name of item " + letter(item) + ", " + inQuotes(name)
                    + ", begins or ends with a space, so no typed name matches it: it can never be taken or dropped.");
        }
        if (text::contains(name, U">")) {
            never.items |= 1u << item;
            add(Severity::Warning, std::nullopt, line,
                "The name of item " + letter(item) + ", " + inQuotes(name)
                    + ", holds \">\": the player reads only what follows the last \">\" of a typed line, so no "
                      "command can name this item.");
        }
        if (const std::optional<Text> word = caughtBy(upper, catching)) {
            add(Severity::Warning, std::nullopt, line,
                "The name of item " + letter(item) + ", " + inQuotes(name) + ", contains " + inQuotes(*word)
                    + ", a word of the language's combine commands: a combine sentence that uses it names this "
                      "item too.");
        }
    }
}

void LevelLint::checkRules()
{
    never.rules.resize(level.combos.size());
    for (std::size_t row = 0; row < level.combos.size(); ++row) {
        const Combo &rule = level.combos[row];
        if (rule.isFree())
            continue;
        const int line = row < lines.combos.size() ? lines.combos[row] : 0;
        const std::string name = "The rule " + inQuotes(rule.line());
        const char *roles[] = {"first ingredient", "second ingredient", "result"};
        const char32_t letters[] = {rule.first, rule.second, rule.result};
        bool sound = true;
        for (int part = 0; part < 3; ++part) {
            const int item = ItemLetter::item(Combination::letter(letters[part]));
            if (letters[part] == 0) {
                add(Severity::Error, std::nullopt, line, name + " has no " + roles[part] + ".");
                sound = false;
            } else if (item < 0) {
                add(Severity::Error, std::nullopt, line,
                    name + " names " + inQuotes(TextView(&letters[part], 1)) + " as its " + roles[part]
                        + ", which is not an item letter A to Z.");
                sound = false;
            } else if (text::isBlank(level.items[item])) {
                // No command names an item without a name.
                never.rules[row] = never.rules[row] || part < 2;
                add(Severity::Error, std::nullopt, line,
                    name + " names item " + letter(item) + " as its " + roles[part] + ", but item " + letter(item)
                        + " has no name.");
            }
        }
        if (!Combination::ingredients(Combination::asPlayed(rule)))
            never.rules[row] = true;
        if (sound && !Combination::ingredients(Combination::asPlayed(rule))) {
            add(Severity::Warning, std::nullopt, line,
                name + " joins an item with itself, which never happens: a combine needs two different items.");
        }
    }
}

void LevelLint::checkLevelLoads()
{
    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef ref = GridRef::fromIndex(i);
        const LocationRecord &record = level.records[i];
        if (!record.loadsLevel())
            continue;
        const int line = lineAt(ref, record.levelLoadAt());
        const std::string tagLine = "The " + tagName(LocationRecord::LoadLevelTag) + " line of " + ref.name();
        const auto load = record.levelLoad();
        if (!load) {
            add(Severity::Error, ref, line,
                tagLine + " has no " + inQuotes(LocationRecord::CommentWord)
                    + " after the level file name: the player stops with an error on reaching " + ref.name() + ".");
            continue;
        }
        const std::string named = text::toUtf8(load->file);
        const std::string file = LevelLookup::resolve(named, path);
        std::error_code ignored;
        if (named.empty()) {
            add(Severity::Error, ref, line, tagLine + " names no level file, so the player loads nothing there.");
        } else if (!std::filesystem::exists(file, ignored)) {
            add(Severity::Error, ref, line,
                ref.name() + " loads the level " + inQuotes(load->file)
                    + ", which the player would not find: it is neither in the current folder nor beside this "
                      "level.");
        } else {
            chained.push_back(file);
        }
    }
}

void LevelLint::checkTagsInTexts()
{
    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef ref = GridRef::fromIndex(i);
        const LocationRecord &record = level.records[i];
        if (record.isEmpty())
            continue;
        const TextView narrative = record.narrative();
        checkTagsIn(ref, narrative, "The narrative of " + ref.name());
        // A lockout text or comment the narrative holds was looked at with it.
        const TextView text = record.text();
        const std::size_t afterNarrative = narrative.size() + 1;
        for (Direction d : Directions) {
            const auto requirement = record.requirement(d);
            if (requirement && requirement->lockout.data() >= text.data() + afterNarrative) {
                checkTagsIn(ref, requirement->lockout,
                            "The lockout text of the exit " + std::string(directionName(d)) + " from " + ref.name());
            }
        }
        if (const auto load = record.levelLoad(); load && load->commentAt >= afterNarrative) {
            checkTagsIn(ref, text.substr(load->commentAt, load->comment.size()),
                        "The " + tagName(LocationRecord::LoadLevelTag) + " comment of " + ref.name());
        }
    }
}

void LevelLint::checkTagsIn(GridRef ref, TextView piece, const std::string &what)
{
    if (piece.empty())
        return;
    // What the text reads as on its own, against what the rest of the record
    // reads as without it: only a tag the text alone brings changes play.
    const TextView text = level.record(ref).text();
    const std::size_t at = std::size_t(piece.data() - text.data());
    const LocationRecord alone{Text(piece)};
    const LocationRecord rest{Text(text.substr(0, at)) + Text(text.substr(at + piece.size()))};
    const int line = lineOf(ref, piece);
    auto acts = [&](const Text &tag, const std::string &effect) {
        add(Severity::Warning, ref, line,
            what + " contains " + inQuotes(tag) + ", which the player reads as that tag: " + effect + ".");
    };
    for (Direction d : Directions) {
        if (alone.hasPath(d) && !rest.hasPath(d))
            acts(LocationRecord::pathTag(d), ref.name() + " has an exit " + directionName(d));
    }
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (alone.holdsItem(item) && !rest.holdsItem(item))
            acts(LocationRecord::itemTag(item), itemName(item) + " lies at " + ref.name());
    }
    if (alone.isEnd() && !rest.isEnd())
        acts(Text(LocationRecord::EndTag), "reaching " + ref.name() + " ends the game");
    if (alone.loadsLevel() && !rest.loadsLevel())
        acts(Text(LocationRecord::LoadLevelTag), "reaching " + ref.name() + " loads another level");

    // Requirements and level loads are read from their first tag: one in
    // this text comes before the tag line meant.
    const LocationRecord &record = level.record(ref);
    auto inPiece = [&](TextView part) {
        return part.data() >= piece.data() && part.data() <= piece.data() + piece.size();
    };
    for (Direction d : Directions) {
        const auto requirement = record.requirement(d);
        if (alone.requirement(d) && rest.requirement(d) && requirement && inPiece(requirement->lockout)) {
            acts(LocationRecord::requirementTag(d),
                 "it, not the exit's own line, says what the exit " + std::string(directionName(d)) + " needs");
        }
    }
    if (alone.loadsLevel() && rest.loadsLevel() && inPiece(text.substr(record.levelLoadAt()))) {
        acts(Text(LocationRecord::LoadLevelTag),
             "the level to load is read from there, not from the " + tagName(LocationRecord::LoadLevelTag) + " line");
    }
    if (alone.editorKind(LocationRecord::Kind::Normal) == LocationRecord::Kind::Start
        && rest.editorKind(LocationRecord::Kind::Normal) != LocationRecord::Kind::Start) {
        add(Severity::Warning, ref, line,
            what + " contains " + inQuotes(LocationRecord::StartTag) + ": the studio's Area Stats takes " + ref.name()
                + " for the start location, and makes it one when the location is saved from there.");
    }
}
