// SPDX-License-Identifier: MIT
#include "game.h"

#include "buildinfo.h"
#include "gameerror.h"
#include "gamehost.h"
#include "levellookup.h"
#include "levelreader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr TextView CrLf = U"\r\n";
// The word lists of the four directions are messages 15 to 18.
constexpr int FirstDirectionWords = 15;

// The item number 0 to 25 of an upper-case letter, or -1.
int itemOf(char32_t letter)
{
    return letter >= U'A' && letter <= U'Z' ? int(letter - U'A') : -1;
}

// The character's upper case when it is one character; 0 when it is several.
char32_t upperLetter(char32_t c)
{
    const Text upper = text::upper(TextView(&c, 1));
    return upper.size() == 1 ? upper[0] : 0;
}

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

void Game::resume(const PlayState &state)
{
    now = state;
    current = State::Playing;
    pending = Pending::None;
    asked.clear();
    stopped.clear();
    reason.clear();
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
        std::string named = setup.commandLine;
        named.erase(std::remove(named.begin(), named.end(), '"'), named.end());
        loadgame(isBlank(named) ? setup.defaultLevel : named);

        const Text banner = U"Text Quillmoor Player: v" + text::fromUtf8(QUILLMOOR_VERSION)
            + U"\r\nMade with the Quillmoor authoring kit\r\n\r\nSelect Language:";
        if (host)
            host->clear();
        try {
            languages = LanguageTable::readFile(setup.languageFile);
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
            print({message(14), CrLf});
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

const Text &Game::message(int n) const
{
    return languages.message(language, n);
}

const LanguageTable::Fields &Game::fields(int n) const
{
    return languages.fields(language, n);
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
    LevelReader::Result result = held != setup.heldLevels.end() ? LevelReader::read(held->second, gamefile)
        : namedByLevel && isDeviceOrPipe(gamefile)               ? deviceOrPipe(gamefile)
                                                                 : LevelReader::readFile(gamefile);
    // With nothing to play, start-up stops here, with the one message that
    // says why, rather than going on to a game without a start.
    if (!namedByLevel && !result.noLevel.empty())
        throw GameError{result.noLevel};
    Level &read = result.level;
    LoadedLevel loaded;
    loaded.path = gamefile;
    loaded.items = std::move(read.items);
    for (int item = 0; item < Level::ItemCount; ++item)
        loaded.upperItems[item] = text::upper(loaded.items[item]);
    loaded.combos = std::move(read.combos);
    for (Combo &rule : loaded.combos)
        rule = {upperLetter(rule.first), upperLetter(rule.second), upperLetter(rule.result)};
    for (int i = 0; i < Level::LocationCount; ++i)
        loaded.records[i] = pool.intern(std::move(read.records[i]));
    loaded.start = read.start;

    // A level loaded again, as a chain that comes back does, is kept once.
    const auto same = std::find_if(levels.begin(), levels.end(), [&loaded](const LoadedLevel &level) {
        return level.path == loaded.path && level.records == loaded.records && level.items == loaded.items
            && level.combos == loaded.combos && level.start == loaded.start;
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
        const LanguageTable::Fields &words = fields(2);
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

    const RecordPool::Facts &facts = here();
    for (Direction d : Directions) {
        const LanguageTable::Fields &words = fields(FirstDirectionWords + int(d));
        if (host && (facts.paths & (1u << int(d))))
            print({message(12), U" ", words[1], U". "});
    }
    // A game that shows nothing has nothing more to do here.
    if (!host)
        return;
    const LoadedLevel &loaded = level();
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (facts.items & (1u << item))
            print({message(13), U" ", loaded.items[item], U". "});
    }
}

void Game::loadLevelAt(const RecordPool::Facts &facts)
{
    if (!facts.levelLoad) {
        throw GameError{"The level \"" + levelFile() + "\", location " + position().name()
                        + ": the LOADLEVEL line has no \"COMMENT=\" after the level file name, so no level can be "
                          "loaded."};
    }
    // The facts belong to the old level's record, which the load replaces.
    const LocationRecord::LevelLoad load = *facts.levelLoad;
    loadgame(LevelLookup::resolve(text::toUtf8(load.file), levelFile()), true);
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
    // Runs a command for the first word of list that the key equals (or,
    // with prefix, begins with).
    auto match = [&](int list, bool prefix, auto run) {
        fields(list); // a list with too many fields stops the game
        for (const TextView word : languages.words(language, list)) {
            if (handled)
                return;
            if (prefix ? TextView(key).substr(0, word.size()) == word : key == word) {
                run(word);
                handled = true;
            }
        }
    };

    for (Direction d : Directions)
        match(FirstDirectionWords + int(d), false, [&](TextView) { go(d); });

    fields(25);
    for (const TextView word : languages.words(language, 25)) {
        if (!handled && key == word) {
            asked = message(27);
            pending = Pending::Quit;
            current = State::Asking;
            return;
        }
    }

    match(19, true, [&](TextView word) { drop(TextView(key).substr(word.size())); });
    match(20, true, [&](TextView word) { take(TextView(key).substr(word.size())); });
    match(22, true, [&](TextView) { combine(command); });
    match(23, false, [&](TextView word) { showHelp(word); });
    match(24, false, [&](TextView) { showInventory(); });

    const LanguageTable::Fields &unknown = fields(1);
    if (!handled)
        print({unknown[0], U" '", command, U"'. ", unknown[1], CrLf});
}

void Game::go(Direction direction)
{
    const RecordPool::Facts &facts = here();
    if (!(facts.paths & (1u << int(direction)))) {
        print({message(11), CrLf});
        return;
    }
    if (const auto &requirement = facts.requirements[int(direction)]) {
        if (!entercheck(requirement->letter, requirement->lockout))
            return;
    }
    // A path on the edge of the map that points outwards leads nowhere.
    const GridRef next = step(position(), direction);
    if (!next.isValid()) {
        print({message(11), CrLf});
        return;
    }
    now.row = std::int8_t(next.row);
    now.col = std::int8_t(next.col);
}

bool Game::entercheck(char32_t reqitem, TextView reqmsg)
{
    const int item = itemOf(reqitem);
    if (item < 0)
        return false;
    if (now.carries(item))
        return true;
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
                print({message(5), U" ", text::lower(itemname), U".", CrLf});
            hereId() = pool.withoutItem(hereId(), item);
            now.setCarried(item, true);
            found = true;
        }
    }
    refuse(found, itemname, 3, 4);
}

void Game::drop(TextView typed)
{
    const TextView itemname = text::trimSpaces(typed);
    const Text wanted = text::upper(itemname);
    const LoadedLevel &loaded = level();
    bool found = false;
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (now.carries(item) && loaded.upperItems[item] == wanted) {
            const LanguageTable::Fields &dropped = fields(6);
            if (host)
                print({dropped[0], U" ", text::lower(itemname), U" ", dropped[1], CrLf});
            hereId() = pool.withItem(hereId(), item);
            now.setCarried(item, false);
            found = true;
        }
    }
    refuse(found, itemname, 7, 8);
}

void Game::refuse(bool found, TextView itemname, int named, int unnamed)
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
        Text word;
    };
    std::vector<Operand> operands;
    const LoadedLevel &loaded = level();
    for (TextView word : text::split(usercommand, U' ')) {
        // Two spaces in a row leave an empty word, which names nothing.
        if (word.empty())
            continue;
        const Text upper = text::upper(word);
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (now.carries(item) && text::contains(loaded.upperItems[item], upper))
                operands.push_back({item, upper});
        }
    }

    const TextView trimmed = text::trimSpaces(usercommand);
    if (operands.size() != 2) {
        const LanguageTable::Fields &refusal = fields(10);
        print({refusal[0], U" '", trimmed, U"' ", refusal[2], CrLf});
        return;
    }

    const Operand &first = operands[0];
    const Operand &second = operands[1];
    const char32_t a = char32_t(U'A' + first.item);
    const char32_t b = char32_t(U'A' + second.item);
    bool found = false;
    for (const Combo &rule : loaded.combos) {
        if (!((rule.first == a && rule.second == b) || (rule.first == b && rule.second == a)))
            continue;
        if (first.item != second.item) {
            const LanguageTable::Fields &made = fields(9);
            print({made[0], U" ", text::lower(first.word), U" ", made[1], U" ", text::lower(second.word), U" ",
                   made[2], U" "});
            now.setCarried(first.item, false);
            now.setCarried(second.item, false);
            TextView name;
            if (const int result = itemOf(rule.result); result >= 0) {
                now.setCarried(result, true);
                name = loaded.items[result];
            }
            print({name, U".", CrLf});
        } else {
            const LanguageTable::Fields &refusal = fields(10);
            print({refusal[0], U" '", trimmed, U"' ", refusal[1], CrLf});
        }
        found = true;
    }
    // Two carried items that no rule joins: the refusal of message 10, with
    // nothing after the command.
    if (!found) {
        const LanguageTable::Fields &refusal = fields(10);
        print({refusal[0], U" '", trimmed, U"' .", CrLf});
    }
}

void Game::showHelp(TextView word)
{
    auto list = [this](int n) { return text::replaced(message(n), U"|", U", "); };
    Text help = Text(word) + U':' + Text(CrLf);
    for (const int n : {23, 24, 15, 16, 17, 18})
        help += list(n) + Text(CrLf);
    help += list(20) + U" __________" + Text(CrLf);
    help += list(19) + U" __________" + Text(CrLf);
    help += list(22) + U" __________ " + text::replaced(message(21), U"/", U", ") + U" __________." + Text(CrLf);
    help += list(25) + Text(CrLf) + Text(CrLf);
    print({help});
}

void Game::showInventory()
{
    Text inventory = message(26) + Text(CrLf);
    const LoadedLevel &loaded = level();
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (now.carries(item))
            inventory += loaded.items[item] + Text(CrLf);
    }
    print({inventory, CrLf});
}
