// SPDX-License-Identifier: MIT
#include "enginecheck.h"

#include "fuzzcheck.h"

#include <algorithm>
#include <bit>

namespace {

using State = Game::State;

std::string letter(int item)
{
    return std::string(1, char('A' + item));
}

bool endsWith(TextView text, TextView end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool answersYes(TextView line)
{
    return !line.empty() && (line.front() == U'y' || line.front() == U'Y');
}

} // namespace

EngineCheck::EngineCheck(const Game::Setup &setup, bool twins)
    : setup(setup)
    , game(*this, setup)
{
    if (twins)
        quiet.emplace(setup);
}

void EngineCheck::append(TextView text)
{
    // Every line break the console shows is CR LF, as the window needs.
    for (std::size_t at = text.find(U'\n'); at != TextView::npos; at = text.find(U'\n', at + 1)) {
        const char32_t before = at > 0 ? text[at - 1] : (console.empty() ? 0 : console.back());
        FUZZ_CHECK(before == U'\r', "a line feed without its carriage return in " + shown(text));
    }
    console += text;
}

void EngineCheck::prependLineBreak()
{
    console.insert(0, U"\r\n");
    prepended = true;
}

void EngineCheck::inform(const std::string &text)
{
    FUZZ_CHECK(!text.empty(), "an empty message box");
}

void EngineCheck::run(const std::vector<std::string_view> &lines)
{
    game.start();
    if (quiet)
        quiet->start();
    FUZZ_CHECK(game.state() != State::Starting, "the game did not start");
    checkWaiting();
    checkQuiet();
    checkFacts();
    for (std::string_view bytes : lines) {
        if (!game.waiting() && game.state() != State::Asking)
            break;
        // Decoded only when played: a game may end before its last line.
        const Text line = text::fromUtf8(bytes);
        const Step before{game.play(), game.state()};
        prepended = false;
        play(line, game);
        if (quiet)
            play(line, *quiet);
        const Step after{game.play(), game.state()};
        checkWaiting();
        checkFacts();
        checkStep(before, after);
        checkQuiet();
        if (quiet && before.state == State::Playing)
            checkResume(before, line);
    }
    // A game that has ended or stopped takes no more lines.
    if (!game.waiting() && game.state() != State::Asking) {
        const Step last{game.play(), game.state()};
        game.enter(U"n");
        game.answer(false);
        FUZZ_CHECK(game.state() == last.state && game.play() == last.play, "a finished game went on");
    }
}

void EngineCheck::play(TextView line, Game &which)
{
    if (which.state() == State::Asking)
        which.answer(answersYes(line));
    else
        which.enter(line);
}

void EngineCheck::checkWaiting() const
{
    const State state = game.state();
    if (state == State::Stopped) {
        const std::string &message = game.stopMessage();
        const std::string tail = "\r\n" + setup.commandLine;
        FUZZ_CHECK(message.size() > tail.size() && message.compare(message.size() - tail.size(), tail.size(), tail) == 0,
                   "stopped with the message \"" + message + '"');
        return;
    }
    if (state == State::Playing || state == State::Asking || state == State::Ended)
        FUZZ_CHECK(game.position().isValid(), "the player stands off the map at " + game.position().name());
    // Waiting for a line, the console ends with the prompt on a line of its
    // own; asking, with the question's line ended.
    if (state == State::Playing || state == State::ChoosingLanguage)
        FUZZ_CHECK(endsWith(console, U"\r\n>"), "waiting without a prompt: " + shown(console));
    if (state == State::Asking)
        FUZZ_CHECK(console.empty() || endsWith(console, U"\r\n"), "asking after an unended line: " + shown(console));
}

void EngineCheck::checkStep(const Step &before, const Step &after) const
{
    if (after.state == State::Stopped)
        return;
    if (after.state == State::Ended) {
        FUZZ_CHECK(before.state == State::Asking && after.play == before.play, "the game ended without a Yes");
        return;
    }
    if (after.state == State::ChoosingLanguage) {
        FUZZ_CHECK(before.state == State::ChoosingLanguage && after.play == before.play,
                   "choosing a language changed the game");
        return;
    }
    // A location that loads a level replaces the whole game state: it is
    // the only line that shows its text above everything, apart from the
    // end of the game, which asks.
    if (prepended && after.state != State::Asking) {
        const Game::LoadedLevel &level = game.level();
        FUZZ_CHECK(after.play.carried == 0, "items carried into a new level");
        FUZZ_CHECK(after.play.records == level.records, "a level loaded with changed locations");
        if (level.start)
            FUZZ_CHECK(after.play.position() == *level.start, "a level loaded away from its start");
        return;
    }
    FUZZ_CHECK(after.play.level == before.play.level, "the level changed without a load");
    const GridRef here = before.play.position();
    for (int i = 0; i < Level::LocationCount; ++i) {
        FUZZ_CHECK(i == here.index() || after.play.records[i] == before.play.records[i],
                   "location " + GridRef::fromIndex(i).name() + " changed while the player stood at " + here.name());
    }
    if (after.play.position() != here)
        checkMove(before, after);
    else if (after.play.records != before.play.records)
        checkTakeOrDrop(before, after);
    else if (after.play.carried != before.play.carried)
        checkCombine(before, after);
}

void EngineCheck::checkMove(const Step &before, const Step &after) const
{
    const GridRef from = before.play.position();
    const GridRef to = after.play.position();
    FUZZ_CHECK(after.play.records == before.play.records && after.play.carried == before.play.carried,
               "moving changed the locations or the inventory");
    const LocationRecord &record = game.records().record(before.play.records[from.index()]);
    for (Direction d : Directions) {
        if (step(from, d) != to)
            continue;
        FUZZ_CHECK(record.hasPath(d), "moved " + std::string(directionName(d)) + " from " + from.name()
                                          + " without a path: " + shown(record.text()));
        if (const auto requirement = record.requirement(d)) {
            const int item = requirement->letter >= U'A' && requirement->letter <= U'Z'
                ? int(requirement->letter - U'A')
                : -1;
            FUZZ_CHECK(item >= 0 && before.play.carries(item), "moved " + std::string(directionName(d)) + " from "
                                                                   + from.name() + " without the item it requires");
        }
        return;
    }
    FUZZ_CHECK(false, "moved from " + from.name() + " to " + to.name() + ", more than one step");
}

void EngineCheck::checkTakeOrDrop(const Step &before, const Step &after) const
{
    const int here = before.play.position().index();
    const LocationRecord &was = game.records().record(before.play.records[here]);
    const LocationRecord &now = game.records().record(after.play.records[here]);
    const std::uint32_t lost = before.play.carried & ~after.play.carried;
    const std::uint32_t gained = after.play.carried & ~before.play.carried;
    if (lost != 0) {
        // Dropping appends each dropped item's tag, in letter order.
        FUZZ_CHECK(gained == 0, "a drop that also took an item");
        LocationRecord expected = was;
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (lost & (1u << item))
                expected.appendItem(item);
        }
        FUZZ_CHECK(now == expected, "dropping made " + shown(now.text()) + " of " + shown(was.text()));
        return;
    }
    // Taking takes every item of the typed name that lies here, removing
    // every tag of each: try the name of each item that lay here.
    const Game::LoadedLevel &level = game.level();
    for (int named = 0; named < Level::ItemCount; ++named) {
        if (!was.holdsItem(named))
            continue;
        LocationRecord left = was;
        std::uint32_t taken = 0;
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (level.upperItems[item] == level.upperItems[named] && left.holdsItem(item)) {
                left.removeItem(item);
                taken |= 1u << item;
            }
        }
        if (left == now && after.play.carried == (before.play.carried | taken))
            return;
    }
    FUZZ_CHECK(false, "no take of one name makes " + shown(now.text()) + " of " + shown(was.text()));
}

void EngineCheck::checkCombine(const Step &before, const Step &after) const
{
    // Only a rule takes items from the inventory without a trace, and only
    // its result comes into it.
    const std::uint32_t lost = before.play.carried & ~after.play.carried;
    const std::uint32_t gained = after.play.carried & ~before.play.carried;
    FUZZ_CHECK(std::popcount(lost) <= 2, "one command used up more than two items");
    const Game::LoadedLevel &level = game.level();
    for (int item = 0; item < Level::ItemCount; ++item) {
        const char32_t name = char32_t(U'A' + item);
        auto ruled = [&](auto part) {
            return std::any_of(level.combos.begin(), level.combos.end(),
                               [&](const Combo &rule) { return part(rule) == name; });
        };
        if (lost & (1u << item))
            FUZZ_CHECK(ruled([](const Combo &r) { return r.first; }) || ruled([](const Combo &r) { return r.second; }),
                       "item " + letter(item) + " was used up by no rule");
        if (gained & (1u << item))
            FUZZ_CHECK(ruled([](const Combo &r) { return r.result; }), "item " + letter(item) + " was made by no rule");
    }
}

void EngineCheck::checkFacts()
{
    // What the game worked out once for a record is what the record says.
    const RecordPool &pool = game.records();
    factsChecked.resize(pool.size(), false);
    for (std::uint32_t id = 0; id < pool.size(); ++id) {
        if (factsChecked[id])
            continue;
        factsChecked[id] = true;
        const LocationRecord &record = pool.record(id);
        const RecordPool::Facts &facts = pool.facts(id);
        auto where = [&record] { return "the facts of " + shown(record.text()); };
        // The record's readings, from the one pass over it that each of
        // hasPath(), holdsItem() and the others makes.
        const LocationRecord::Tags tags = record.tags();
        for (Direction d : Directions) {
            FUZZ_CHECK(bool(facts.paths & (1u << int(d))) == (tags.paths[int(d)] != LocationRecord::Tags::None),
                       where() + ": paths");
            const auto want = record.requirement(d, tags);
            const auto &got = facts.requirements[int(d)];
            FUZZ_CHECK(got.has_value() == want.has_value()
                           && (!got || (got->letter == want->letter && got->lockout == want->lockout)),
                       where() + ": requirements");
        }
        for (int item = 0; item < Level::ItemCount; ++item)
            FUZZ_CHECK(bool(facts.items & (1u << item)) == bool(tags.items & (1u << item)), where() + ": item " + letter(item));
        FUZZ_CHECK(facts.end == (tags.end != LocationRecord::Tags::None)
                       && facts.loadsLevel == (tags.levelLoad != LocationRecord::Tags::None),
                   where() + ": type");
        const auto load = record.levelLoad(tags);
        FUZZ_CHECK(facts.levelLoad.has_value() == (facts.loadsLevel && load.has_value()), where() + ": level load");
        if (facts.levelLoad)
            FUZZ_CHECK(facts.levelLoad->file == load->file && facts.levelLoad->comment == load->comment,
                       where() + ": level load");
    }
}

void EngineCheck::checkResume(const Step &before, TextView line)
{
    // Play the line again from the state before it: a saved game goes on
    // exactly as the game did.
    const Step first{game.play(), game.state()};
    shownFirst.swap(console);
    console.clear();
    const Text asked = game.question();
    const std::string stopped = game.stopMessage();
    game.resume(before.play);
    game.enter(line);
    FUZZ_CHECK(game.state() == first.state && game.play() == first.play
                   && PlayStateHash()(game.play()) == PlayStateHash()(first.play),
               "the line played again from the saved state went elsewhere");
    FUZZ_CHECK(game.question() == asked && game.stopMessage() == stopped, "the line played again asked otherwise");
    FUZZ_CHECK(console == shownFirst, "the line played again showed " + shown(console) + ", not " + shown(shownFirst));
}

void EngineCheck::checkQuiet() const
{
    if (!quiet)
        return;
    const Game &quiet = *this->quiet;
    // Record numbers are each game's own: the same numbers are the same
    // records, and other numbers may still stand for the same texts.
    FUZZ_CHECK(quiet.state() == game.state() && quiet.stopMessage() == game.stopMessage()
                   && quiet.question() == game.question(),
               "a game without a console went otherwise");
    if (game.state() == State::Stopped)
        return;
    const PlayState &a = game.play();
    const PlayState &b = quiet.play();
    FUZZ_CHECK(a.level == b.level && a.row == b.row && a.col == b.col && a.carried == b.carried,
               "a game without a console stands elsewhere");
    if (a.records == b.records)
        return;
    for (int i = 0; i < Level::LocationCount; ++i) {
        FUZZ_CHECK(game.records().record(a.records[i]) == quiet.records().record(b.records[i]),
                   "a game without a console changed location " + GridRef::fromIndex(i).name() + " otherwise");
    }
}
