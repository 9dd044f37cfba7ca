// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// A property that must hold for every input. When it does not, the run stops
// at once with the property and what was found; libFuzzer then keeps the
// input as a crash, and the replay program names the file it was running.
#define FUZZ_CHECK(condition, what)                                                                                  \
    do {                                                                                                             \
        if (!(condition))                                                                                            \
            fuzzFailure(__FILE__, __LINE__, #condition, what);                                                      \
    } while (false)

[[noreturn]] inline void fuzzFailure(const char *file, int line, const char *condition, const std::string &what)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", file, line, condition, what.c_str());
    std::fflush(stderr);
    std::abort();
}

// A text for a failure message: quoted, cut short, control characters as
// \xNN so that a CR or a NUL shows.
inline std::string shown(TextView text)
{
    std::string out = "\"";
    for (char32_t c : text.substr(0, 300)) {
        if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(c));
            out += escape;
        } else {
            out += text::toUtf8(TextView(&c, 1));
        }
    }
    return out + (text.size() > 300 ? "...\"" : "\"");
}
