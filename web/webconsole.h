// SPDX-License-Identifier: MIT
#pragma once

#include "gamehost.h"

#include <string>
#include <vector>

// The page's console as the game sees it. What the game does to the console
// is kept as a list of changes, which the page applies to its console
// element, in order, once the game waits again. The page's console holds the
// player's typing as well, so the game's changes are replayed on it rather
// than its text replaced. Text is UTF-8 with "\n" line breaks, as the player
// window shows it.
class WebConsole : public GameHost
{
public:
    enum class Kind { Append = 1, Clear = 2, PrependLineBreak = 3, Inform = 4 };

    struct Change
    {
        Kind kind;
        std::string text; // Append: the text; Inform: the message
    };

    void append(TextView text) override;
    void clear() override;
    void prependLineBreak() override;
    void inform(const std::string &text) override;

    const std::vector<Change> &changes() const { return list; }
    void forget() { list.clear(); }

private:
    std::vector<Change> list;
};
