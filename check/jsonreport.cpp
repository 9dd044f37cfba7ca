// SPDX-License-Identifier: MIT
#include "jsonreport.h"

#include <cstdio>

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
    out += ",\n  \"walkthrough\": [";
    for (std::size_t i = 0; i < report.walkthrough.size(); ++i)
        out += (i ? ", " : "") + quoted(report.walkthrough[i]);
    out += "],\n  \"states\": " + std::to_string(report.states) + ",\n  \"problems\": [";
    for (std::size_t i = 0; i < report.problems.size(); ++i) {
        const Problem &problem = report.problems[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"severity\": ";
        out += problem.isError() ? "\"error\"" : "\"warning\"";
        out += ", \"location\": " + (problem.location ? quoted(problem.location->name()) : "null");
        out += ", \"line\": " + (problem.line > 0 ? std::to_string(problem.line) : "null");
        out += ", \"text\": " + quoted(problem.text) + "}";
    }
    out += report.problems.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}
