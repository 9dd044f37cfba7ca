// SPDX-License-Identifier: MIT
#pragma once

#include "checkreport.h"

#include <string>
#include <string_view>

// A check's outcome as one JSON object, for programs that read it:
// {"winnable": true|false|null, "walkthrough": [...], "states": N,
//  "problems": [{"severity", "location", "line", "text"}, ...],
//  "canGetStuck": true|false|null,
//  "deadEnds": [{"location", "file", "command", "walkthrough", "states", "error"}, ...],
//  "unreached": {"locations", "items", "rules"}|null,
//  "unreachedInChain": [{"file", "locations", "items", "rules"}, ...]|null}.
class JsonReport
{
public:
    static std::string write(const CheckReport &report);
    // A JSON string literal; text is UTF-8.
    static std::string quoted(std::string_view text);
};
