// SPDX-License-Identifier: MIT
#include "textreport.h"

#include <cstdio>

std::string TextReport::number(std::size_t value)
{
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string TextReport::deadEnd(const CheckReport::DeadEnd &way)
{
    std::string out = "In " + way.location.name() + (way.chained ? " of " + way.file : "") + ", " + way.command + ": ";
    const std::string states = number(way.states) + (way.states == 1 ? " play state" : " play states");
    if (way.stopped.empty())
        out += "the game can no longer be won (" + states + ").";
    else
        out += "the game stops with an error (" + states + "): " + way.stopped;
    out += " Shortest way in: ";
    for (std::size_t i = 0; i < way.walkthrough.size(); ++i)
        out += (i ? ", " : "") + way.walkthrough[i];
    return out;
}

std::string TextReport::write(const CheckReport &report)
{
    std::string out;
    std::size_t errors = 0;
    for (const Problem &problem : report.problems) {
        errors += problem.isError();
        out += problem.isError() ? "Error" : "Warning";
        if (problem.location)
            out += " at " + problem.location->name();
        if (problem.line > 0)
            out += ", line " + std::to_string(problem.line);
        out += ": " + problem.text + "\n";
    }
    const std::size_t warnings = report.problems.size() - errors;
    if (report.problems.empty()) {
        out += "No problems found.\n";
    } else {
        out += "\n" + number(errors) + (errors == 1 ? " error, " : " errors, ") + number(warnings)
            + (warnings == 1 ? " warning.\n" : " warnings.\n");
    }
    if (!report.searched)
        return out;

    out += "\n";
    const std::string states = number(report.states) + (report.states == 1 ? " play state" : " play states");
    if (!report.winnable) {
        out += "Unknown: the search stopped at its limit of " + states
            + " without finding a way to win; a larger --max-states may tell.\n";
    } else if (!*report.winnable && report.states == 0) {
        out += "Not winnable: the player stops before the first command.\n";
    } else if (!*report.winnable) {
        out += "Not winnable: no way from the start gets to an end-of-game location (" + states
            + " reached, all tried).\n";
    } else {
        const std::size_t steps = report.walkthrough.size();
        if (steps == 0) {
            out += "Winnable: the game ends where it starts, before the first command.\n";
            return out;
        }
        out += "Winnable: the shortest walkthrough takes " + number(steps) + (steps == 1 ? " command" : " commands")
            + " (" + states + " searched).\n";
        const int width = int(std::to_string(steps).size());
        for (std::size_t i = 0; i < steps; ++i) {
            char label[32];
            std::snprintf(label, sizeof label, "%*zu. ", width, i + 1);
            out += label + report.walkthrough[i] + "\n";
        }
        out += "\n" + waysToGetStuck(report);
    }
    return out;
}

std::string TextReport::waysToGetStuck(const CheckReport &report)
{
    const std::string limit = "the search stopped at its limit of " + number(report.explored) + " play states";
    if (report.deadEnds.empty()) {
        if (report.canGetStuck == false)
            return "No way to get stuck: from every reachable state the game can still be won.\n";
        return "Whether the player can get stuck is not known: " + limit + " before it explored every state.\n";
    }
    const std::size_t count = report.deadEnds.size();
    std::string out = number(count);
    out += count == 1 ? " way to get stuck:\n" : " ways to get stuck, the shortest way in first:\n";
    // Numbered otherwise than the walkthrough, whose lines a script picks
    // out by their "1. ".
    const int width = int(std::to_string(count).size());
    for (std::size_t i = 0; i < count; ++i) {
        char label[32];
        std::snprintf(label, sizeof label, "%*zu) ", width, i + 1);
        out += label + deadEnd(report.deadEnds[i]) + "\n";
    }
    // What no play reaches is listed only when every state was explored.
    if (!report.unreached)
        out += "There may be more: " + limit + " before it explored every state.\n";
    return out;
}
