// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "webconsole.h"

#include <memory>
#include <string>

// One game played in the page: the game, the console it writes into, and
// the last text handed to the page's script, which reads it from memory.
class WebSession
{
public:
    void start(Game::Setup setup);

    Game *game() { return played.get(); }
    WebConsole &console() { return shown; }

    // Keeps text until the next hand-out; its bytes stay where they are.
    const char *handOut(std::string text);
    std::size_t handedOutSize() const { return said.size(); }

private:
    WebConsole shown;
    std::unique_ptr<Game> played;
    std::string said;
};
