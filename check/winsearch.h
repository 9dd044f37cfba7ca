// SPDX-License-Identifier: MIT
#pragma once

#include "combinewording.h"
#include "game.h"
#include "statestore.h"

#include <atomic>
#include <bitset>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Whether a game can be won, found by playing it: a breadth-first search
// over the states of the game from its start, where every step is a command
// typed into the game's own engine (a move along an exit, a take, a drop, a
// combine of two carried items that a rule joins), until a command brings
// the game to its end-of-game question. The first such command ends the
// shortest walkthrough; when every state the game can reach has been tried
// and none gets there, the game cannot be won. Given a StateGraph, it goes
// on past the first win to every state the game can reach, and keeps there
// what each command led to.
class StateGraph;

class WinSearch
{
public:
    enum class Verdict { Winnable, Unwinnable, Unknown };

    struct Outcome
    {
        Verdict verdict = Verdict::Unknown;
        std::vector<Text> walkthrough; // the commands, as typed
        std::size_t states = 0; // the distinct play states stored, up to the first win
        std::size_t bytes = 0; // the memory they took
        std::string stopped; // why the game stopped before any command, UTF-8
        std::size_t explored = 0; // the play states stored in all
        bool complete = false; // every state the game can reach was stored
    };

    // What play met of one of the game's levels in the states explored.
    struct Met
    {
        std::string path; // the level file, as the game found it
        std::bitset<Level::LocationCount> entered;
        std::uint32_t carried = 0; // bit n: item n
        std::vector<std::pair<int, int>> combined; // the pairs of items combined
    };

    // language: the number of the language to play in, 1 for the first;
    // cancel, when given and set (from another thread), stops the search,
    // whose verdict is then unknown.
    WinSearch(Game::Setup setup, int language, std::size_t maxStates, const std::atomic<bool> *cancel = nullptr);
    // From where a game being played stands, waiting for a command; the
    // game is played on quietly (Game::quietCopy).
    WinSearch(Game game, std::size_t maxStates, const std::atomic<bool> *cancel = nullptr);
    ~WinSearch();

    // Throws GameError when the language file cannot be used or holds no
    // language of that number. With a graph, explores every state the game
    // can reach, up to the limit, and keeps what each command led to there.
    Outcome run(StateGraph *graph = nullptr);

    StateStore &store() { return stored; }
    // The commands from the first state to stored state node, then the
    // command the search names last.
    std::vector<Text> walkthroughTo(std::uint32_t node, std::uint8_t last);
    // Why the game stopped when command was typed in stored state node;
    // empty when it did not.
    std::string stopReason(std::uint32_t node, std::uint8_t command) const;
    // What play met of each level the game loaded, in the states stored.
    std::vector<Met> met();
    // Whether the search's command byte names a combine, which does the
    // same wherever it is typed.
    static bool isCombine(std::uint8_t command);
    const Game &played() const { return game; }

private:
    // What a level offers the search: the command of each take and drop,
    // which items answer to the same name, the pairs its rules join.
    struct LevelMoves;
    // A state a command led to, its world still to be found when the
    // command took or dropped an item; or, in a whole search, the end of
    // the game or a stop (node.world is then StateGraph::Won or Stopped).
    struct Reached
    {
        StateStore::Node node;
        std::optional<WorldStore::Change> change;
        bool isState() const;
    };

    // Tries every command that may change something in stored state i, and
    // adds the states they lead to to reached; true when one won the game,
    // with the way there in walkthrough.
    bool expand(std::size_t i, std::vector<Reached> &reached, std::vector<Text> &walkthrough);
    // Plays one command from the state expand() plays from: true when it won
    // the game; what it led to is added to reached (only a state, unless
    // the search is whole).
    bool play(std::uint8_t command, TextView typed, std::vector<Reached> &reached, std::vector<Text> &walkthrough);
    // The state a command led to: the world as before, as before but for the
    // one record a take or a drop changed, or a world of its own.
    Reached reachedBy(std::uint8_t command, const PlayState &to);
    // How many records to holds that differ from before, and where (the
    // last of them); where says first which record to look at.
    std::size_t changedRecords(const PlayState &to, std::size_t &where) const;
    LevelMoves &movesOf(std::uint16_t level);
    // The state with each record that differs from before in its plainest form.
    PlayState plainer(const PlayState &state, const PlayState &before);
    Text commandText(std::uint8_t command, std::uint16_t level, std::uint32_t carried);
    // Marks where the command played from expand()'s state took the game
    // when no state stored there says so.
    void markEntered(std::uint8_t command);
    // Keeps what the commands of the states taken to end led to in the
    // graph: reached, found as ids (a state's number, or Won or Stopped).
    void addEdges(std::size_t taken, std::size_t end, const std::vector<Reached> &reached,
                  const std::vector<std::uint32_t> &ids);
    static std::uint32_t stopKey(std::uint16_t level, std::uint8_t position, std::uint8_t command)
    {
        return std::uint32_t(level) << 16 | std::uint32_t(position) << 8 | command;
    }

    Game game;
    int language;
    std::size_t maxStates;
    const std::atomic<bool> *cancel;
    bool fromStart = false; // not from a game being played
    // The words the walkthrough is written in: the first the player reads
    // as each move, and a command that lets a turn go by.
    std::array<Text, 4> moveWords;
    Text idleWord;
    std::vector<std::unique_ptr<LevelMoves>> levels;
    StateStore stored;
    StateGraph *graph = nullptr; // in a whole search
    std::size_t statesAtWin = 0;
    std::map<std::uint32_t, std::string> stops; // by stopKey(), in a whole search
    // The state expand() plays from: its number, its node and its play state
    // (aligned as the game's own, which it is copied into for every command).
    std::uint32_t fromId = 0;
    StateStore::Node fromNode{};
    alignas(64) PlayState from;
};
