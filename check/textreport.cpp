// SPDX-License-Identifier: MIT
#include "textreport.h"

#include <cstdio>

std::string TextReport::number(std::size_t value)
{
    std::string digits = std::to_string(value);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), ",");
    return digits;
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
    }
    return out;
}
