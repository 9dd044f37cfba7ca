// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// What every command a search tried led to, for each state it took from its
// queue, in the order taken (0, 1, 2 ...): another stored state, the end of
// the game, or a stop with an error. A whole search tries tens of millions
// of commands, so each is kept in a few bytes: the command's byte and a
// code. A state first reached by a command takes the next number, so that
// command needs no number at all; a state met before is told by how far its
// number lies from the state the command was typed in.
//
// From the commands the graph tells which states can still win: those from
// which some way leads to an end of the game.
class StateGraph
{
public:
    // Where a command led when not to a stored state.
    static constexpr std::uint32_t Won = 0xffffffffu;
    static constexpr std::uint32_t Stopped = 0xfffffffeu;

    struct Edge
    {
        std::uint8_t command;
        std::uint32_t to; // a state's number, Won or Stopped
    };

    // The commands of the next state taken, in the order tried. A state a
    // command reached for the first time must be the next to be stored.
    void add(const Edge *edges, std::size_t count);
    // How many states have their commands here: the states numbered from
    // there on were stored but never taken, so where they lead is not known.
    std::uint32_t states() const { return taken; }

    // Calls visit(from, edge) for every command, in the order added.
    template<typename Visit>
    void forEach(Visit visit) const;

    // What can be told of each of the first count states stored.
    enum class Fate : std::uint8_t {
        CanWin, // some way from it ends the game
        Unknown, // none known, but some way leads to states never taken
        Lost, // no way from it ends the game: a dead end
    };
    std::vector<Fate> fates(std::uint32_t count) const;

    std::size_t bytes() const { return chunks.size() * ChunkSize + chunks.capacity() * sizeof(void *); }

private:
    static constexpr std::size_t ChunkSize = std::size_t(1) << 20;
    // The codes of where a command led; a state met before is Known plus
    // its distance, zigzag-coded.
    enum Code : std::uint64_t { New, ToWon, ToStopped, Known };

    void put(std::uint8_t byte)
    {
        // A chunk is left unset: every byte is written before it is read.
        if (used == chunks.size() * ChunkSize)
            chunks.emplace_back(new std::uint8_t[ChunkSize]);
        chunks[used >> 20][used & (ChunkSize - 1)] = byte;
        ++used;
    }
    void putNumber(std::uint64_t value);

    std::vector<std::unique_ptr<std::uint8_t[]>> chunks;
    std::size_t used = 0;
    std::uint32_t taken = 0;
    std::uint32_t nextNew = 1; // the first state is stored before any command
};

template<typename Visit>
void StateGraph::forEach(Visit visit) const
{
    std::size_t at = 0;
    auto next = [&]() {
        const std::uint8_t byte = chunks[at >> 20][at & (ChunkSize - 1)];
        ++at;
        return byte;
    };
    auto number = [&]() {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t byte = next();
            value |= std::uint64_t(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return value;
        }
    };
    std::uint32_t fresh = 1;
    for (std::uint32_t from = 0; from < taken; ++from) {
        for (std::uint64_t count = number(); count > 0; --count) {
            const std::uint8_t command = next();
            const std::uint64_t code = number();
            std::uint32_t to = 0;
            if (code == New) {
                to = fresh++;
            } else if (code == ToWon) {
                to = Won;
            } else if (code == ToStopped) {
                to = Stopped;
            } else {
                const std::uint64_t zigzag = code - Known;
                const auto distance = std::int64_t(zigzag >> 1) ^ -std::int64_t(zigzag & 1);
                to = std::uint32_t(std::int64_t(from) + distance);
            }
            visit(from, Edge{command, to});
        }
    }
}
