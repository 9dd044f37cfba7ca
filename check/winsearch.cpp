// SPDX-License-Identifier: MIT
#include "winsearch.h"

#include "gameerror.h"
#include "stategraph.h"

#include <algorithm>
#include <bit>

namespace {

// Commands are named by one byte: the four moves, the idle command, a take
// or a drop of an item's name, a combine of a pair that a rule joins.
constexpr std::uint8_t Idle = 4;
constexpr std::uint8_t FirstTake = 8;
constexpr std::uint8_t FirstDrop = FirstTake + Level::ItemCount;
constexpr std::uint8_t FirstCombine = FirstDrop + Level::ItemCount;

using Command = CommandTable::Command;

// The first word of command's list that the player reads as that command
// (typed, for one that takes a name, with that name); empty when none.
Text firstWord(const CommandTable &commands, Command command, TextView name = {})
{
    const std::vector<Text> words = commands.wordsFor(command, name);
    return words.empty() ? Text() : words.front();
}

// The command that takes or drops an item by its name; empty when the
// language has no word for it.
Text itemCommand(const CommandTable &commands, Command command, TextView name)
{
    const Text word = firstWord(commands, command, name);
    return word.empty() ? Text() : CommandTable::typed(word, name);
}

} // namespace

struct WinSearch::LevelMoves
{
    LevelMoves(const CommandTable &commands, const Game::LoadedLevel &level)
    {
        for (int item = 0; item < Level::ItemCount; ++item) {
            take[item] = itemCommand(commands, Command::Take, level.items[item]);
            drop[item] = itemCommand(commands, Command::Drop, level.items[item]);
            // Items that answer to one name are taken and dropped together:
            // one command for all of them, named by the first.
            for (int other = 0; other < Level::ItemCount; ++other) {
                if (level.upperItems[other] == level.upperItems[item])
                    sameName[item] |= 1u << other;
            }
            if (std::countr_zero(sameName[item]) == item)
                names.push_back(item);
        }
        for (const Combo &rule : level.combos) {
            const std::optional<std::pair<int, int>> ingredients = Combination::ingredients(rule);
            if (!ingredients)
                continue;
            // Named, not bound, as the page's compiler captures no binding.
            const int a = ingredients->first;
            const int b = ingredients->second;
            const bool known = std::any_of(pairs.begin(), pairs.end(), [a, b](const std::pair<int, int> &pair) {
                return (pair.first == a && pair.second == b) || (pair.first == b && pair.second == a);
            });
            if (!known && pairs.size() < std::size_t(256 - FirstCombine))
                pairs.emplace_back(a, b);
        }
        wording.emplace(commands, level, pairs);
        combined.resize(pairs.size());
    }

    std::array<Text, Level::ItemCount> take;
    std::array<Text, Level::ItemCount> drop;
    std::array<std::uint32_t, Level::ItemCount> sameName{};
    std::vector<int> names; // the first item of each name
    std::vector<std::pair<int, int>> pairs;
    std::optional<CombineWording> wording;
    // What play met here: the locations moved onto and the pairs combined.
    std::bitset<Level::LocationCount> entered;
    std::vector<bool> combined;
};

WinSearch::WinSearch(Game::Setup setup, int language, std::size_t maxStates, const std::atomic<bool> *cancel)
    : game(std::move(setup))
    , language(language)
    , maxStates(maxStates)
    , cancel(cancel)
    , fromStart(true)
{
}

WinSearch::WinSearch(Game game, std::size_t maxStates, const std::atomic<bool> *cancel)
    : game(std::move(game))
    , language(this->game.chosenLanguage())
    , maxStates(maxStates)
    , cancel(cancel)
{
}

WinSearch::~WinSearch() = default;

bool WinSearch::isCombine(std::uint8_t command)
{
    return command >= FirstCombine;
}

bool WinSearch::Reached::isState() const
{
    return node.world != StateGraph::Won && node.world != StateGraph::Stopped;
}

WinSearch::LevelMoves &WinSearch::movesOf(std::uint16_t level)
{
    if (levels.size() <= level)
        levels.resize(level + 1);
    if (!levels[level])
        levels[level] = std::make_unique<LevelMoves>(game.commandTable(), game.level(level));
    return *levels[level];
}

Text WinSearch::commandText(std::uint8_t command, std::uint16_t level, std::uint32_t carried)
{
    if (command < Idle)
        return moveWords[command];
    if (command == Idle)
        return idleWord;
    const LevelMoves &moves = movesOf(level);
    if (command < FirstDrop)
        return moves.take[command - FirstTake];
    if (command < FirstCombine)
        return moves.drop[command - FirstDrop];
    const Text *typed = moves.wording->command(command - FirstCombine, carried);
    return typed ? *typed : Text();
}

std::vector<Text> WinSearch::walkthroughTo(std::uint32_t node, std::uint8_t last)
{
    std::vector<Text> commands;
    std::uint8_t command = last;
    for (std::uint32_t at = node; at != StateStore::NoParent; at = stored[at].parent) {
        const StateStore::Node &from = stored[at];
        commands.push_back(commandText(command, from.level, from.carried));
        command = from.command;
    }
    std::reverse(commands.begin(), commands.end());
    return commands;
}

PlayState WinSearch::plainer(const PlayState &state, const PlayState &before)
{
    // Only what the command changed needs a look; the rest is plain already.
    PlayState plain = state;
    RecordPool &pool = game.records();
    for (std::size_t i = 0; i < plain.records.size(); ++i) {
        if (plain.records[i] != before.records[i])
            plain.records[i] = pool.plainest(plain.records[i]);
    }
    return plain;
}

WinSearch::Outcome WinSearch::run(StateGraph *whole)
{
    graph = whole;
    Outcome outcome;
    game.start();
    if (game.state() == Game::State::ChoosingLanguage)
        game.enter(text::number(language));
    if (game.state() == Game::State::Stopped) {
        const std::string why = game.stopMessage().substr(0, game.stopMessage().find("\r\n"));
        // A language file the game cannot use is no verdict on the level.
        if (game.languageTable().count() == 0)
            throw GameError{why};
        outcome.verdict = Verdict::Unwinnable;
        outcome.stopped = why;
        outcome.complete = true;
        return outcome;
    }
    if (game.chosenLanguage() != language) {
        throw GameError{"The language file \"" + game.languageTable().fileName() + "\" holds "
                        + std::to_string(game.languageTable().count()) + " languages, not "
                        + std::to_string(language) + "."};
    }
    const CommandTable &commands = game.commandTable();
    for (Direction d : Directions)
        moveWords[int(d)] = firstWord(commands, CommandTable::move(d));
    // Inventory and help change nothing; else an empty line, which no list
    // holds, does nothing but let the turn go by.
    idleWord = firstWord(commands, Command::Inventory);
    if (idleWord.empty())
        idleWord = firstWord(commands, Command::Help);
    // The start is entered, even when a level it loads takes the game on
    // elsewhere at once.
    if (fromStart && game.level(0).start)
        movesOf(0).entered.set(std::size_t(game.level(0).start->index()));
    movesOf(game.play().level).entered.set(std::size_t(game.position().index()));
    if (game.askingToEnd()) {
        outcome.verdict = Verdict::Winnable;
        outcome.complete = true;
        return outcome;
    }

    const PlayState first = plainer(game.play(), PlayState{});
    stored.add({stored.worldStore().intern(first.records), first.carried, StateStore::NoParent, first.level,
                std::uint8_t(first.position().index()), 0});

    // States are taken from the queue a few at a time and what they lead to
    // is stored afterwards, so that the table's slots for a whole batch can
    // be fetched from memory together.
    constexpr std::size_t Batch = 16;
    constexpr std::size_t Ahead = 8;
    std::vector<Reached> reached;
    std::vector<std::uint32_t> ids;
    WorldStore &worlds = stored.worldStore();
    // The world of a state that a take or a drop led to, found in the
    // order the states were reached.
    auto findWorld = [&](Reached &state) {
        if (state.change)
            state.node.world = worlds.intern(*state.change);
    };
    bool full = false;
    for (std::size_t next = 0; next < stored.size() && !full;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            full = true;
            break;
        }
        const std::size_t taken = next;
        const std::size_t end = std::min(stored.size(), next + Batch);
        reached.clear();
        for (; next < end; ++next) {
            if (expand(next, reached, outcome.walkthrough)) {
                outcome.verdict = Verdict::Winnable;
                outcome.states = stored.size();
                outcome.bytes = stored.bytes();
                outcome.explored = stored.size();
                return outcome;
            }
        }
        // Worlds are looked up a few states ahead of the states themselves,
        // and both are fetched before they are needed.
        const std::size_t count = reached.size();
        ids.clear();
        for (std::size_t k = 0; k < std::min(count, Ahead); ++k)
            findWorld(reached[k]);
        for (std::size_t k = 0; k < count; ++k) {
            if (k + 2 * Ahead < count && reached[k + 2 * Ahead].change)
                worlds.prefetch(*reached[k + 2 * Ahead].change);
            if (k + Ahead < count) {
                findWorld(reached[k + Ahead]);
                stored.prefetch(reached[k + Ahead].node);
            }
            if (!reached[k].isState()) {
                ids.push_back(reached[k].node.world);
                continue;
            }
            if (stored.size() == maxStates) {
                full = true;
                break;
            }
            ids.push_back(stored.add(reached[k].node));
        }
        // A batch cut short by the limit leaves its states not taken.
        if (graph && !full)
            addEdges(taken, next, reached, ids);
    }
    const bool won = !outcome.walkthrough.empty();
    outcome.verdict = won ? Verdict::Winnable : full ? Verdict::Unknown : Verdict::Unwinnable;
    outcome.states = won ? statesAtWin : stored.size();
    outcome.bytes = stored.bytes() + (graph ? graph->bytes() : 0);
    outcome.explored = stored.size();
    outcome.complete = !full;
    return outcome;
}

void WinSearch::addEdges(std::size_t taken, std::size_t end, const std::vector<Reached> &reached,
                         const std::vector<std::uint32_t> &ids)
{
    // What each state led to lies together in reached, in the order taken.
    std::vector<StateGraph::Edge> edges;
    std::size_t k = 0;
    for (std::size_t state = taken; state < end; ++state) {
        edges.clear();
        for (; k < reached.size() && reached[k].node.parent == state; ++k)
            edges.push_back({reached[k].node.command, ids[k]});
        graph->add(edges.data(), edges.size());
    }
}

bool WinSearch::expand(std::size_t i, std::vector<Reached> &reached, std::vector<Text> &walkthrough)
{
    fromId = std::uint32_t(i);
    fromNode = stored[i];
    stored.state(i, from);
    LevelMoves &moves = movesOf(from.level);
    const RecordPool::Facts &here = game.records().facts(from.records[fromNode.position]);
    // A search to the first win ends at it; a whole one goes on.
    auto tryCommand = [&](std::uint8_t command, const Text &typed) {
        return !typed.empty() && play(command, typed, reached, walkthrough) && !graph;
    };

    // Where a level load brought the game to an end or to another load,
    // any command lets the game go on there, and at an end every command
    // ends the game.
    if ((here.end || here.loadsLevel) && play(Idle, idleWord, reached, walkthrough))
        return !graph;
    for (Direction d : Directions) {
        if (Game::opens(here, d, from.carried) && tryCommand(std::uint8_t(d), moveWords[int(d)]))
            return true;
    }
    for (int item : moves.names) {
        if ((moves.sameName[item] & here.items) && tryCommand(FirstTake + item, moves.take[item]))
            return true;
    }
    for (int item : moves.names) {
        if ((moves.sameName[item] & from.carried) && tryCommand(FirstDrop + item, moves.drop[item]))
            return true;
    }
    for (std::size_t pair = 0; pair < moves.pairs.size(); ++pair) {
        const auto [a, b] = moves.pairs[pair];
        if (!from.carries(a) || !from.carries(b))
            continue;
        const Text *typed = moves.wording->command(pair, from.carried);
        if (!typed)
            continue;
        moves.combined[pair] = true;
        if (tryCommand(std::uint8_t(FirstCombine + pair), *typed))
            return true;
    }
    return false;
}

bool WinSearch::play(std::uint8_t command, TextView typed, std::vector<Reached> &reached,
                     std::vector<Text> &walkthrough)
{
    game.resume(from);
    game.enter(typed);
    // A location the game did not stay at: an end, or one that loads a
    // level or stops the game, entered all the same.
    if (game.state() != Game::State::Playing || game.play().level != from.level
        || (command < Idle && game.position() != step(from.position(), Direction(command))))
        markEntered(command);
    if (game.askingToEnd()) {
        if (walkthrough.empty()) {
            walkthrough = walkthroughTo(fromId, command);
            statesAtWin = stored.size();
        }
        if (graph)
            reached.push_back({{StateGraph::Won, 0, fromId, 0, 0, command}, std::nullopt});
        return true;
    }
    // The quit question, answered No, changes nothing.
    if (game.state() == Game::State::Playing) {
        reached.push_back(reachedBy(command, game.play()));
    } else if (graph && game.state() == Game::State::Stopped) {
        reached.push_back({{StateGraph::Stopped, 0, fromId, 0, 0, command}, std::nullopt});
        stops.try_emplace(stopKey(fromNode.level, fromNode.position, command), game.stopReason());
    }
    return false;
}

void WinSearch::markEntered(std::uint8_t command)
{
    if (game.askingToEnd())
        movesOf(game.play().level).entered.set(std::size_t(game.position().index()));
    if (command >= Idle)
        return;
    if (const GridRef to = step(from.position(), Direction(command)); to.isValid())
        movesOf(from.level).entered.set(std::size_t(to.index()));
}

std::string WinSearch::stopReason(std::uint32_t node, std::uint8_t command) const
{
    const StateStore::Node &at = stored[node];
    const auto found = stops.find(stopKey(at.level, at.position, command));
    return found != stops.end() ? found->second : std::string();
}

std::vector<WinSearch::Met> WinSearch::met()
{
    std::vector<Met> levelsMet(game.levelCount());
    for (std::size_t level = 0; level < levelsMet.size(); ++level) {
        Met &met = levelsMet[level];
        met.path = game.level(std::uint16_t(level)).path;
        const LevelMoves &moves = movesOf(std::uint16_t(level));
        met.entered = moves.entered;
        for (std::size_t pair = 0; pair < moves.pairs.size(); ++pair) {
            if (moves.combined[pair])
                met.combined.push_back(moves.pairs[pair]);
        }
    }
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const StateStore::Node &node = stored[i];
        levelsMet[node.level].entered.set(node.position);
        levelsMet[node.level].carried |= node.carried;
    }
    return levelsMet;
}

WinSearch::Reached WinSearch::reachedBy(std::uint8_t command, const PlayState &to)
{
    const auto position = std::uint8_t(to.position().index());
    Reached state{{fromNode.world, to.carried, fromId, to.level, position, command}, std::nullopt};
    WorldStore &worlds = stored.worldStore();
    if (to.level != from.level) {
        state.node.world = worlds.intern(plainer(to, PlayState{}).records);
        return state;
    }
    std::size_t where = fromNode.position;
    const std::size_t changed = changedRecords(to, where);
    if (changed == 1) {
        const std::uint32_t plain = game.records().plainest(to.records[where]);
        // A plainest form as before leaves the world as it was.
        if (plain != from.records[where])
            state.change = worlds.change(fromNode.world, where, from.records[where], plain);
    } else if (changed > 1) {
        state.node.world = worlds.intern(plainer(to, from).records);
    }
    return state;
}

std::size_t WinSearch::changedRecords(const PlayState &to, std::size_t &where) const
{
    // A take or a drop changes the record where the game was, which is
    // looked at first; a level that loads itself again may change many.
    const auto same = [&](std::size_t begin, std::size_t end) {
        return std::equal(to.records.begin() + begin, to.records.begin() + end, from.records.begin() + begin);
    };
    if (same(0, where) && same(where + 1, to.records.size()))
        return to.records[where] != from.records[where];
    std::size_t changed = 0;
    for (std::size_t at = 0; at < to.records.size(); ++at) {
        if (to.records[at] != from.records[at]) {
            where = at;
            ++changed;
        }
    }
    return changed;
}
