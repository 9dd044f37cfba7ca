// SPDX-License-Identifier: MIT
#include "game.h"

#include "buildinfo.h"
#include "combination.h"
#include "filebytes.h"
#include "gameerror.h"
#include "gamehost.h"
#include "levellookup.h"
#include "sha256.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr TextView CrLf = U"\r\n";
using Command = CommandTable::Command;

bool isBlank(const std::string &text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

// The number a menu answer begins with, read the way the menu always has:
// blanks anywhere are skipped, a fraction goes to the nearest whole number (a
// half to the even one), and an answer that begins with no number is 0. A
// number beyond the 16-bit range is 0 too, which no language has.
int menuNumber(TextView answer)
{
    Text text;
    text.reserve(answer.size());
    for (char32_t c : answer) {
        if (c != U' ' && c != U'\t' && c != U'\n')
            text += c;
    }
    std::size_t at = 0;
    auto digit = [&text](std::size_t i) { return i < text.size() && text[i] >= U'0' && text[i] <= U'9'; };
    // The number goes to strtod as digits and an exponent only, which every
    // locale reads alike.
    std::string sign;
    if (at < text.size() && (text[at] == U'+' || text[at] == U'-'))
        sign = char(text[at++]);
    std::string digits;
    long long exponent = 0;
    bool any = false;
    for (; digit(at); ++at, any = true)
        digits += char(text[at]);
    if (at < text.size() && text[at] == U'.') {
        for (++at; digit(at); ++at, any = true) {
            digits += char(text[at]);
            --exponent;
        }
    }
    if (!any)
        return 0;
    if (at < text.size() && (text[at] == U'E' || text[at] == U'e' || text[at] == U'D' || text[at] == U'd')) {
        std::size_t next = at + 1;
        const bool negative = next < text.size() && text[next] == U'-';
        if (next < text.size() && (text[next] == U'+' || text[next] == U'-'))
            ++next;
        if (digit(next)) {
            long long written = 0;
            for (; digit(next); ++next)
                written = std::min(written * 10 + (text[next] - U'0'), 100000000LL);
            exponent += negative ? -written : written;
        }
    }
    if (digits.empty())
        digits = "0";
    const std::string number = sign + digits + "e" + std::to_string(exponent);
    const double value = std::nearbyint(std::strtod(number.c_str(), nullptr));
    if (!std::isfinite(value) || value < -32768.0 || value > 32767.0)
        return 0;
    return int(value);
}

// A level shared by others may name /dev/zero or a pipe as the next level:
// reading it would never end, or wait for ever.
bool isDeviceOrPipe(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_type type = fs::status(path, error).type();
    return type != fs::file_type::regular && type != fs::file_type::directory && type != fs::file_type::not_found
        && !error;
}

LevelReader::Result deviceOrPipe(const std::string &path)
{
    LevelReader::Result result;
    result.error = "Cannot open the level file \"" + path + "\": it is a device or a pipe, not a level file.";
    result.noLevel = result.error;
    return result;
}

} // namespace

Game::Game(GameHost &host, Setup setup)
    : host(&host)
    , setup(std::move(setup))
{
}

Game::Game(Setup setup)
    : setup(std::move(setup))
{
}

Game Game::quietCopy() const
{
    Game copy(*this);
    copy.host = nullptr;
    copy.setup.keepLevels = true;
    return copy;
}

void Game::resume(const PlayState &state)
{
    now = state;
    current = State::Playing;
    pending = Pending::None;
    asked.clear();
    stopped.clear();
    reason.clear();
}

std::optional<SavedGame> Game::saved() const
{
    if (current == State::Starting || current == State::ChoosingLanguage || current == State::Stopped)
        return std::nullopt;
    const LoadedLevel &played = level();
    SavedGame saved;
    saved.firstLevel = firstLevel;
    saved.level = {played.path, Sha256::hex(*played.bytes)};
    saved.language = {setup.languageFile, Sha256::hex(*languageBytes)};
    saved.languageNumber = language;
    saved.position = position();
    saved.carried = now.carried;
    // A record is kept once in the pool: another number is another text.
    for (int i = 0; i < Level::LocationCount; ++i) {
        if (now.records[i] != played.records[i])
            saved.records.push_back({GridRef::fromIndex(i), pool.record(now.records[i]).text()});
    }
    return saved;
}

std::string Game::restore(const SavedGame &saved, const std::string &savedFile)
{
    if (current != State::Starting)
        return "A saved game goes on in a new game, not in one that has begun.";
    using text::inQuotes;
    const std::string since = " has changed since the game was saved in " + inQuotes(savedFile)
        + ", so the game cannot go on.";

    std::string languageRead;
    LanguageTable table;
    try {
        table = readLanguage(languageRead);
    } catch (const GameError &error) {
        return error.description;
    }
    if (Sha256::hex(languageRead) != saved.language.sha256) {
        if (setup.languageFile == saved.language.name)
            return "The language file " + inQuotes(setup.languageFile) + since;
        return "The language file " + inQuotes(setup.languageFile) + " is not the one the game saved in "
            + inQuotes(savedFile) + " was played with (" + inQuotes(saved.language.name)
            + "), so the game cannot go on.";
    }
    if (saved.languageNumber < 1 || saved.languageNumber > table.count()) {
        return "The saved game " + inQuotes(savedFile) + " plays language " + std::to_string(saved.languageNumber)
            + " of the language file " + inQuotes(setup.languageFile) + ", which holds "
            + std::to_string(table.count()) + ".";
    }

    // The level by its name, held or from the current folder, else beside
    // the saved game; else a held level with its digest.
    std::string path = saved.level.name;
    std::optional<std::string> levelRead;
    std::string why;
    auto held = setup.heldLevels.find(path);
    if (held == setup.heldLevels.end()) {
        path = LevelLookup::resolve(saved.level.name, savedFile);
        held = setup.heldLevels.find(path);
    }
    if (held != setup.heldLevels.end())
        levelRead = held->second;
    else if (isDeviceOrPipe(path))
        why = "it is a device or a pipe, not a level file";
    else
        levelRead = FileBytes::read(path, &why);
    if (!levelRead) {
        held = std::find_if(setup.heldLevels.begin(), setup.heldLevels.end(),
                            [&saved](const auto &level) { return Sha256::hex(level.second) == saved.level.sha256; });
        if (held == setup.heldLevels.end()) {
            return "Cannot open the level file " + inQuotes(path) + " that the game saved in " + inQuotes(savedFile)
                + " plays: " + why + ".";
        }
        path = held->first;
        levelRead = held->second;
    }
    if (Sha256::hex(*levelRead) != saved.level.sha256) {
        const std::string named
            = path == saved.level.name ? "" : " (named " + inQuotes(saved.level.name) + " in the saved game)";
        return "The level file " + inQuotes(path) + named + since;
    }
    LevelReader::Result result = LevelReader::read(*levelRead, path);
    if (!result.noLevel.empty())
        return result.noLevel;

    // Everything checked: the game goes on.
    languages = std::move(table);
    languageBytes = std::make_shared<const std::string>(std::move(languageRead));
    language = saved.languageNumber;
    commands = CommandTable(languages, language);
    firstLevel = saved.firstLevel;
    if (host)
        host->clear();
    addLevel(result, path, std::make_shared<const std::string>(std::move(*levelRead)));
    now.row = std::int8_t(saved.position.row);
    now.col = std::int8_t(saved.position.col);
    now.carried = saved.carried;
    for (const SavedGame::Record &record : saved.records)
        now.records[record.at.index()] = pool.intern(LocationRecord(record.text));
    current = State::Playing;
    try {
        print({pool.record(hereId()).narrative(), CrLf});
        describeWays();
        prompt();
    } catch (const GameError &error) {
        stop(error.description);
    }
    return {};
}

void Game::print(std::initializer_list<TextView> parts)
{
    if (!host)
        return;
    std::size_t size = 0;
    for (TextView part : parts)
        size += part.size();
    // A long narrative goes to the console as it is, not copied first.
    if (size > 65536) {
        for (TextView part : parts)
            host->append(part);
        return;
    }
    line.clear();
    for (TextView part : parts)
        line += part;
    host->append(line);
}

void Game::start()
{
    if (current != State::Starting)
        return;
    try {
        const std::string named = LevelLookup::unquoted(setup.commandLine);
        firstLevel = isBlank(named) ? setup.defaultLevel : named;
        loadgame(firstLevel);

        const Text banner = U"Text Quillmoor Player: v" + text::fromUtf8(QUILLMOOR_VERSION)
            + U"\r\nMade with the Quillmoor authoring kit\r\n\r\nSelect Language:";
        if (host)
            host->clear();
        try {
            std::string bytes;
            languages = readLanguage(bytes);
            languageBytes = std::make_shared<const std::string>(std::move(bytes));
        } catch (const GameError &) {
            print({banner});
            throw;
        }
        Text console = banner + Text(CrLf) + languages.menu() + Text(CrLf) + U'>';
        if (languages.count() == 1) {
            language = 1;
            text::replaceAll(console, U"Select", U"Default");
            print({console});
            beginPlay();
        } else {
            print({console});
            current = State::ChoosingLanguage;
        }
    } catch (const GameError &error) {
        stop(error.description);
    }
}

void Game::enter(TextView typed)
{
    if (!waiting())
        return;
    const std::size_t mark = typed.rfind(U'>');
    Text &command = entered;
    command.assign(mark == TextView::npos ? typed : typed.substr(mark + 1));
    command.erase(std::remove_if(command.begin(), command.end(), [](char32_t c) { return c == U'\r' || c == U'\n'; }),
                  command.end());
    try {
        if (current == State::ChoosingLanguage) {
            chooseLanguage(command);
        } else {
            usermove(command);
            if (current == State::Playing)
                turn();
        }
    } catch (const GameError &error) {
        stop(error.description);
    }
}

void Game::answer(bool yes)
{
    if (current != State::Asking)
        return;
    const Pending question = pending;
    pending = Pending::None;
    asked.clear();
    if (yes) {
        current = State::Ended;
        return;
    }
    current = State::Playing;
    try {
        if (question == Pending::Quit) {
            print({message(Message::QuitDeclined), CrLf});
            turn();
        } else {
            describeRest();
            prompt();
        }
    } catch (const GameError &error) {
        stop(error.description);
    }
}

void Game::stop(const std::string &description)
{
    current = State::Stopped;
    pending = Pending::None;
    stopped = description + "\r\n" + setup.commandLine;
    reason = description;
}

void Game::chooseLanguage(TextView answer)
{
    const int chosen = menuNumber(answer);
    if (chosen < 1 || chosen > languages.count()) {
        print({CrLf, languages.menu(), CrLf, U">"});
        return;
    }
    language = chosen;
    if (host)
        host->clear();
    beginPlay();
}

void Game::beginPlay()
{
    commands = CommandTable(languages, language);
    current = State::Playing;
    turn();
}

void Game::turn()
{
    enterlocation();
    prompt();
}

void Game::prompt()
{
    if (current == State::Playing)
        print({CrLf, U">"});
}

const Text &Game::message(Message m) const
{
    return languages.message(language, m);
}

const LanguageTable::Fields &Game::fields(Message m) const
{
    return languages.fields(language, m);
}

LanguageTable Game::readLanguage(std::string &bytes) const
{
    if (!setup.heldLanguage)
        return LanguageTable::readFile(setup.languageFile, &bytes);
    bytes = *setup.heldLanguage;
    return LanguageTable::read(bytes, setup.languageFile);
}

void Game::loadgame(const std::string &gamefile, bool namedByLevel)
{
    if (setup.keepLevels) {
        const auto kept = std::find_if(levels.begin(), levels.end(),
                                       [&gamefile](const LoadedLevel &level) { return level.path == gamefile; });
        if (kept != levels.end()) {
            enterLevel(std::size_t(kept - levels.begin()));
            return;
        }
    }
    // A level that fails half-way is played with what was read before the fault.
    const auto held = setup.heldLevels.find(gamefile);
    std::string bytes = held != setup.heldLevels.end() ? held->second : std::string();
    LevelReader::Result result = held != setup.heldLevels.end() ? LevelReader::read(bytes, gamefile)
        : namedByLevel && isDeviceOrPipe(gamefile)               ? deviceOrPipe(gamefile)
                                                                 : LevelReader::readFile(gamefile, &bytes);
    // With nothing to play, start-up stops here, with the one message that
    // says why, rather than going on to a game without a start.
    if (!namedByLevel && !result.noLevel.empty())
        throw GameError{result.noLevel};
    addLevel(result, gamefile, std::make_shared<const std::string>(std::move(bytes)));
}

void Game::addLevel(LevelReader::Result &result, const std::string &gamefile,
                    std::shared_ptr<const std::string> bytes)
{
    Level &read = result.level;
    LoadedLevel loaded;
    loaded.path = gamefile;
    loaded.items = std::move(read.items);
    for (int item = 0; item < Level::ItemCount; ++item)
        loaded.upperItems[item] = text::upper(loaded.items[item]);
    loaded.combos = std::move(read.combos);
    for (Combo &rule : loaded.combos)
        rule = Combination::asPlayed(rule);
    for (int i = 0; i < Level::LocationCount; ++i)
        loaded.records[i] = pool.intern(std::move(read.records[i]));
    loaded.start = read.start;
    loaded.bytes = std::move(bytes);

    // A level loaded again, as a chain that comes back does, is kept once.
    const auto same = std::find_if(levels.begin(), levels.end(), [&loaded](const LoadedLevel &level) {
        return level.path == loaded.path && level.records == loaded.records && level.items == loaded.items
            && level.combos == loaded.combos && level.start == loaded.start && *level.bytes == *loaded.bytes;
    });
    const auto index = std::size_t(same - levels.begin());
    if (same == levels.end())
        levels.push_back(std::move(loaded));
    enterLevel(index);
    const std::string &problem = result.noLevel.empty() ? result.error : result.noLevel;
    if (!problem.empty() && host)
        host->fault(problem, setup.commandLine);
}

void Game::enterLevel(std::size_t index)
{
    // The inventory is lost; the position is the level's start, or stays
    // where it was when the level has none.
    now.level = std::uint16_t(index);
    const LoadedLevel &level = levels[index];
    now.records = level.records;
    now.carried = 0;
    if (level.start) {
        now.row = std::int8_t(level.start->row);
        now.col = std::int8_t(level.start->col);
    }
}

void Game::enterlocation()
{
    if (!position().isValid())
        throw GameError{"The level \"" + levelFile() + "\" has no start location."};
    if (host)
        print({pool.record(hereId()).narrative(), CrLf});

    if (here().end) {
        const LanguageTable::Fields &words = fields(Message::GameWon);
        if (host) {
            host->prependLineBreak();
            print({words[0], CrLf});
        }
        asked = words[1];
        pending = Pending::End;
        current = State::Asking;
        return;
    }
    describeRest();
}

void Game::describeRest()
{
    if (here().loadsLevel)
        loadLevelAt(here());
    describeWays();
}

void Game::describeWays()
{
    const RecordPool::Facts &facts = here();
    for (Direction d : Directions) {
        const LanguageTable::Fields &words = fields(directionWords(d));
        if (host && (facts.paths & (1u << int(d))))
            print({message(Message::ExitHere), U" ", words[1], U". "});
    }
    // A game that shows nothing has nothing more to do here.
    if (!host)
        return;
    const LoadedLevel &loaded = level();
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (facts.items & (1u << item))
            print({message(Message::ItemHere), U" ", loaded.items[item], U". "});
    }
}

void Game::loadLevelAt(const RecordPool::Facts &facts)
{
    if (!facts.levelLoad) {
        throw GameError{"The level \"" + levelFile() + "\", location " + position().name() + ": the "
                        + text::toUtf8(LocationRecord::LoadLevelTag) + " line has no "
                        + text::inQuotes(LocationRecord::CommentWord)
                        + " after the level file name, so no level can be loaded."};
    }
    // The facts belong to the old level's record, which the load replaces.
    const LocationRecord::LevelLoad load = *facts.levelLoad;
    loadgame(LevelLookup::resolve(text::toUtf8(load.file), levelFile(), setup.heldLevels), true);
    if (host) {
        host->prependLineBreak();
        print({load.comment, U" ", CrLf});
    }
    if (!position().isValid())
        throw GameError{"The level \"" + levelFile() + "\" has no start location."};
}

void Game::usermove(TextView command)
{
    text::upper(command, enteredKey);
    const Text &key = enteredKey;
    if (host)
        host->clear();
    bool handled = false;
    // The first word of the lists, in their order, that matches runs its
    // command; every list is looked at, as one with too many fields stops
    // the game whatever was typed.
    for (const CommandTable::List &list : CommandTable::Lists) {
        fields(list.words);
        const Text *word = handled ? nullptr : commands.match(list, key);
        if (!word)
            continue;
        handled = true;
        const TextView rest = TextView(key).substr(word->size());
        switch (list.command) {
        case Command::North:
        case Command::South:
        case Command::East:
        case Command::West:
            go(Direction(int(list.command)));
            break;
        case Command::Quit:
            asked = message(Message::QuitQuestion);
            pending = Pending::Quit;
            current = State::Asking;
            return;
        case Command::Drop:
            drop(rest);
            break;
        case Command::Take:
            take(rest);
            break;
        case Command::Combine:
            combine(command);
            break;
        case Command::Help:
            showHelp(*word);
            break;
        case Command::Inventory:
            showInventory();
            break;
        }
    }

    const LanguageTable::Fields &unknown = fields(Message::NotUnderstood);
    if (!handled)
        print({unknown[0], U" '", command, U"'. ", unknown[1], CrLf});
}

void Game::go(Direction direction)
{
    const RecordPool::Facts &facts = here();
    if (!(facts.paths & (1u << int(direction)))) {
        print({message(Message::NoWay), CrLf});
        return;
    }
    if (const auto &requirement = facts.requirements[int(direction)]) {
        if (!entercheck(requirement->letter, requirement->lockout))
            return;
    }
    // A path on the edge of the map that points outwards leads nowhere.
    const GridRef next = step(position(), direction);
    if (!next.isValid()) {
        print({message(Message::NoWay), CrLf});
        return;
    }
    now.row = std::int8_t(next.row);
    now.col = std::int8_t(next.col);
}

bool Game::meets(const LocationRecord::Requirement &requirement, std::uint32_t carried)
{
    const int item = ItemLetter::item(requirement.letter);
    return item >= 0 && ((carried >> item) & 1u);
}

bool Game::opens(const RecordPool::Facts &here, Direction d, std::uint32_t carried)
{
    const auto &requirement = here.requirements[int(d)];
    return (here.paths & (1u << int(d))) && (!requirement || meets(*requirement, carried));
}

bool Game::entercheck(char32_t reqitem, TextView reqmsg)
{
    if (meets({reqitem, reqmsg}, now.carried))
        return true;
    // A letter that names no item blocks the path without a word.
    if (ItemLetter::item(reqitem) >= 0)
        print({text::trimSpaces(reqmsg), CrLf});
    return false;
}

void Game::take(TextView typed)
{
    const TextView itemname = text::trimSpaces(typed);
    const Text wanted = text::upper(itemname);
    const LoadedLevel &loaded = level();
    bool found = false;
    for (int item = 0; item < Level::ItemCount; ++item) {
        // Whether it lies here is the cheaper test.
        if ((here().items & (1u << item)) && loaded.upperItems[item] == wanted) {
            if (host)
                print({message(Message::Taken), U" ", text::lower(itemname), U".", CrLf});
            hereId() = pool.withoutItem(hereId(), item);
            now.setCarried(item, true);
            found = true;
        }
    }
    refuse(found, itemname, Message::NotHere, Message::TakeWhat);
}

void Game::drop(TextView typed)
{
    const TextView itemname = text::trimSpaces(typed);
    const Text wanted = text::upper(itemname);
    const LoadedLevel &loaded = level();
    bool found = false;
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (now.carries(item) && loaded.upperItems[item] == wanted) {
            const LanguageTable::Fields &dropped = fields(Message::Dropped);
            if (host)
                print({dropped[0], U" ", text::lower(itemname), U" ", dropped[1], CrLf});
            hereId() = pool.withItem(hereId(), item);
            now.setCarried(item, false);
            found = true;
        }
    }
    refuse(found, itemname, Message::NotCarried, Message::DropWhat);
}

void Game::refuse(bool found, TextView itemname, Message named, Message unnamed)
{
    // The message is split whether or not it is printed, as a faulty one
    // stops the game either way.
    const LanguageTable::Fields &refusal = fields(named);
    if (!found && !itemname.empty())
        print({refusal[0], U" '", text::lower(itemname), U"' ", refusal[1], CrLf});
    if (!found && itemname.empty())
        print({message(unnamed), CrLf});
}

void Game::combine(TextView usercommand)
{
    // Every word of the command is tried against the names of the carried
    // items, so the words around the two names do not matter.
    struct Operand
    {
        int item;
        const Text *word;
    };
    std::array<Operand, 2> operands{};
    std::size_t count = 0;
    const LoadedLevel &loaded = level();
    const std::vector<Combination::Naming> words = Combination::named(usercommand, loaded.upperItems, now.carried);
    for (const Combination::Naming &word : words) {
        for (std::uint32_t items = word.items; items != 0; items &= items - 1) {
            if (count < operands.size())
                operands[count] = {std::countr_zero(items), &word.word};
            ++count;
        }
    }

    const TextView trimmed = text::trimSpaces(usercommand);
    if (count != 2) {
        const LanguageTable::Fields &refusal = fields(Message::CannotCombine);
        print({refusal[0], U" '", trimmed, U"' ", refusal[2], CrLf});
        return;
    }

    const Operand &first = operands[0];
    const Operand &second = operands[1];
    bool found = false;
    for (const Combo &rule : loaded.combos) {
        if (!Combination::joins(rule, first.item, second.item))
            continue;
        if (first.item != second.item) {
            const LanguageTable::Fields &made = fields(Message::Combined);
            print({made[0], U" ", text::lower(*first.word), U" ", made[1], U" ", text::lower(*second.word), U" ",
                   made[2], U" "});
            now.setCarried(first.item, false);
            now.setCarried(second.item, false);
            TextView name;
            if (const int result = ItemLetter::item(rule.result); result >= 0) {
                now.setCarried(result, true);
                name = loaded.items[result];
            }
            print({name, U".", CrLf});
        } else {
            const LanguageTable::Fields &refusal = fields(Message::CannotCombine);
            print({refusal[0], U" '", trimmed, U"' ", refusal[1], CrLf});
        }
        found = true;
    }
    // Two carried items that no rule joins: the refusal of the message, with
    // nothing after the command.
    if (!found) {
        const LanguageTable::Fields &refusal = fields(Message::CannotCombine);
        print({refusal[0], U" '", trimmed, U"' .", CrLf});
    }
}

void Game::showHelp(TextView word)
{
    auto list = [this](Message m) { return text::replaced(message(m), U"|", U", "); };
    Text help = Text(word) + U':' + Text(CrLf);
    for (const Message m : {Message::HelpWords, Message::InventoryWords, Message::NorthWords, Message::SouthWords,
                            Message::EastWords, Message::WestWords})
        help += list(m) + Text(CrLf);
    help += list(Message::TakeWords) + U" __________" + Text(CrLf);
    help += list(Message::DropWords) + U" __________" + Text(CrLf);
    help += list(Message::CombineWords) + U" __________ " + text::replaced(message(Message::Connectors), U"/", U", ")
        + U" __________." + Text(CrLf);
    help += list(Message::QuitWords) + Text(CrLf) + Text(CrLf);
    print({help});
}

void Game::showInventory()
{
    Text inventory = message(Message::InventoryHeading) + Text(CrLf);
    const LoadedLevel &loaded = level();
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (now.carries(item))
            inventory += loaded.items[item] + Text(CrLf);
    }
    print({inventory, CrLf});
}
