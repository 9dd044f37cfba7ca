// SPDX-License-Identifier: MIT
#include "jsonreport.h"

#include "textreport.h"

#include <cstdio>

namespace {

std::string list(const std::vector<std::string> &texts)
{
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        out += (i ? ", " : "") + JsonReport::quoted(texts[i]);
    return out + "]";
}

std::string problem(Problem::Severity severity, std::optional<GridRef> location, int line, const std::string &text)
{
    std::string out = "{\"severity\": ";
    out += severity == Problem::Severity::Error ? "\"error\"" : "\"warning\"";
    out += ", \"location\": " + (location ? JsonReport::quoted(location->name()) : "null");
    out += ", \"line\": " + (line > 0 ? std::to_string(line) : "null");
    return out + ", \"text\": " + JsonReport::quoted(text) + "}";
}

// {"locations": [...], "items": [...], "rules": [...]}, after the file when named.
std::string unreached(const CheckReport::Unreached &content, bool named)
{
    std::vector<std::string> locations;
    for (const GridRef ref : content.locations)
        locations.push_back(ref.name());
    std::string out = "{";
    if (named)
        out += "\"file\": " + JsonReport::quoted(content.file) + ", ";
    return out + "\"locations\": " + list(locations) + ", \"items\": " + list(content.items)
        + ", \"rules\": " + list(content.rules) + "}";
}

} // namespace

std::string JsonReport::quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
                out += escaped;
            } else {
                out += c; // UTF-8 passes as it is
            }
        }
    }
    return out + "\"";
}

std::string JsonReport::write(const CheckReport &report)
{
    std::string out = "{\n  \"winnable\": ";
    out += report.winnable ? (*report.winnable ? "true" : "false") : "null";
    out += ",\n  \"walkthrough\": " + list(report.walkthrough);
    out += ",\n  \"states\": " + std::to_string(report.states) + ",\n  \"problems\": [";
    // The ways to get stuck are warnings too, after the others.
    std::vector<std::string> problems;
    for (const Problem &found : report.problems)
        problems.push_back(problem(found.severity, found.location, found.line, found.text));
    for (const CheckReport::DeadEnd &way : report.deadEnds)
        problems.push_back(problem(Problem::Severity::Warning, way.location, way.line, TextReport::deadEnd(way)));
    for (std::size_t i = 0; i < problems.size(); ++i)
        out += (i ? ",\n    " : "\n    ") + problems[i];
    out += problems.empty() ? "]" : "\n  ]";

    out += ",\n  \"canGetStuck\": ";
    out += report.canGetStuck ? (*report.canGetStuck ? "true" : "false") : "null";
    out += ",\n  \"deadEnds\": [";
    for (std::size_t i = 0; i < report.deadEnds.size(); ++i) {
        const CheckReport::DeadEnd &way = report.deadEnds[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"location\": " + quoted(way.location.name()) + ", \"file\": " + quoted(way.file)
            + ", \"command\": " + quoted(way.command) + ", \"walkthrough\": " + list(way.walkthrough)
            + ", \"states\": " + std::to_string(way.states)
            + ", \"error\": " + (way.stopped.empty() ? "null" : quoted(way.stopped)) + "}";
    }
    out += report.deadEnds.empty() ? "]" : "\n  ]";

    out += ",\n  \"unreached\": ";
    out += report.unreached ? unreached(report.unreached->front(), false) : "null";
    out += ",\n  \"unreachedInChain\": ";
    if (report.unreached) {
        out += "[";
        for (std::size_t i = 1; i < report.unreached->size(); ++i)
            out += (i > 1 ? ", " : "") + unreached((*report.unreached)[i], true);
        out += "]";
    } else {
        out += "null";
    }
    return out + "\n}\n";
}
