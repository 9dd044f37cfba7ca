// SPDX-License-Identifier: MIT
#include "stategraph.h"

#include <cassert>
#include <limits>
#include <stdexcept>

void StateGraph::putNumber(std::uint64_t value)
{
    while (value >= 0x80) {
        put(std::uint8_t(value | 0x80));
        value >>= 7;
    }
    put(std::uint8_t(value));
}

void StateGraph::add(const Edge *edges, std::size_t count)
{
    const std::uint32_t from = taken++;
    putNumber(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Edge &edge = edges[i];
        put(edge.command);
        if (edge.to == Won) {
            putNumber(ToWon);
        } else if (edge.to == Stopped) {
            putNumber(ToStopped);
        } else if (edge.to == nextNew) {
            putNumber(New);
            ++nextNew;
        } else {
            assert(edge.to < nextNew);
            const std::int64_t distance = std::int64_t(edge.to) - std::int64_t(from);
            putNumber(Known + (std::uint64_t(distance) << 1 ^ std::uint64_t(distance >> 63)));
        }
    }
}

std::vector<StateGraph::Fate> StateGraph::fates(std::uint32_t count) const
{
    // The commands turned round: for each state, the states a command led
    // from to it, so that what is known of a state flows back to every
    // state that leads there. first[s] ends up where the ones of s begin.
    std::vector<std::uint32_t> first(std::size_t(count) + 1, 0);
    std::vector<Fate> fate(count, Fate::Lost);
    std::vector<std::uint32_t> queue;
    std::uint64_t total = 0;
    forEach([&](std::uint32_t from, Edge edge) {
        if (edge.to < count) {
            ++first[edge.to];
            ++total;
        } else if (edge.to == Won && fate[from] != Fate::CanWin) {
            fate[from] = Fate::CanWin;
            queue.push_back(from);
        }
    });
    if (total > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many commands to follow back");
    std::uint32_t sum = 0;
    for (std::uint32_t s = 0; s < count; ++s) {
        sum += first[s];
        first[s] = sum;
    }
    first[count] = sum;
    std::vector<std::uint32_t> back(sum);
    forEach([&](std::uint32_t from, Edge edge) {
        if (edge.to < count)
            back[--first[edge.to]] = from;
    });

    // Every state with a way to a state that can win can win; of the rest,
    // one with a way to a state never taken may too.
    auto spread = [&](Fate from, Fate to) {
        while (!queue.empty()) {
            const std::uint32_t s = queue.back();
            queue.pop_back();
            for (std::uint32_t i = first[s]; i < first[s + 1]; ++i) {
                const std::uint32_t before = back[i];
                if (fate[before] == from) {
                    fate[before] = to;
                    queue.push_back(before);
                }
            }
        }
    };
    spread(Fate::Lost, Fate::CanWin);
    for (std::uint32_t s = taken; s < count; ++s) {
        fate[s] = Fate::Unknown;
        queue.push_back(s);
    }
    spread(Fate::Lost, Fate::Unknown);
    return fate;
}
