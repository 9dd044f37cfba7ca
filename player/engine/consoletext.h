// SPDX-License-Identifier: MIT
#pragma once

#include "gamehost.h"

// A console kept as text, as a window shows it, for programs that play a
// game to time it or to look at it afterwards; messages go nowhere.
class ConsoleText : public GameHost
{
public:
    void append(TextView text) override { shown += text; }
    void clear() override { shown.clear(); }
    void prependLineBreak() override { shown.insert(0, U"\r\n"); }
    void inform(const std::string &) override { }

    Text shown;
};
