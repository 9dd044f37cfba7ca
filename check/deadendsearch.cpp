// SPDX-License-Identifier: MIT
#include "deadendsearch.h"

#include <algorithm>
#include <unordered_map>

DeadEndSearch::DeadEndSearch(Game::Setup setup, int language, std::size_t maxStates,
                             const std::atomic<bool> *cancel)
    : search(std::move(setup), language, maxStates, cancel)
{
}

DeadEndSearch::Outcome DeadEndSearch::run()
{
    Outcome outcome;
    outcome.win = search.run(&graph);
    const WinSearch::Outcome &win = outcome.win;
    if (win.complete)
        outcome.met = search.met();
    if (win.verdict != WinSearch::Verdict::Winnable) {
        outcome.canGetStuck = std::nullopt;
        return outcome;
    }

    // Only the states' nodes are read from here on: the memory that found
    // and rebuilt them goes to following the commands back.
    StateStore &store = search.store();
    store.keepNodesOnly();
    const std::vector<StateGraph::Fate> fates = graph.fates(std::uint32_t(store.size()));

    // Each cause: the first state it was met in, which is the nearest to
    // the start (states are numbered breadth first), and how many.
    struct Cause
    {
        std::uint32_t first;
        std::uint8_t command;
        std::size_t states;
    };
    std::unordered_map<std::uint32_t, Cause> causes;
    graph.forEach([&](std::uint32_t from, StateGraph::Edge edge) {
        if (fates[from] != StateGraph::Fate::CanWin)
            return;
        const bool stuck = edge.to == StateGraph::Stopped
            || (edge.to < fates.size() && fates[edge.to] == StateGraph::Fate::Lost);
        if (!stuck)
            return;
        // What a combine does does not hang on where it is typed.
        const StateStore::Node &node = store[from];
        const std::uint32_t where = WinSearch::isCombine(edge.command) ? 0xff : node.position;
        const std::uint32_t key = std::uint32_t(node.level) << 16 | where << 8 | edge.command;
        const auto [cause, added] = causes.try_emplace(key, Cause{from, edge.command, 0});
        ++cause->second.states;
    });

    std::vector<std::pair<std::uint32_t, Way>> ways;
    for (const auto &[key, cause] : causes) {
        const StateStore::Node &node = store[cause.first];
        Way way;
        way.file = search.played().level(node.level).path;
        way.location = GridRef::fromIndex(node.position);
        way.walkthrough = search.walkthroughTo(cause.first, cause.command);
        way.states = cause.states;
        way.stopped = search.stopReason(cause.first, cause.command);
        ways.emplace_back(cause.first, std::move(way));
    }
    std::sort(ways.begin(), ways.end(), [](const auto &a, const auto &b) {
        if (a.second.walkthrough.size() != b.second.walkthrough.size())
            return a.second.walkthrough.size() < b.second.walkthrough.size();
        if (a.first != b.first)
            return a.first < b.first;
        return a.second.walkthrough.back() < b.second.walkthrough.back();
    });
    for (auto &[first, way] : ways)
        outcome.ways.push_back(std::move(way));
    if (!outcome.ways.empty())
        outcome.canGetStuck = true;
    else if (win.complete)
        outcome.canGetStuck = false;
    return outcome;
}
