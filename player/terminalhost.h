// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "gamehost.h"

#include <optional>

// Plays in a terminal or through pipes: the console text goes to standard
// output as it is written (line breaks as "\n"), messages to standard error,
// and every line of standard input is one typed line. Piped input is echoed
// after the prompt, so a session reads as a transcript.
class TerminalHost : public GameHost
{
public:
    TerminalHost();

    // Plays until the game ends, stops or the input runs out; returns the
    // exit status: 1 after a fault that stopped the game, else 0.
    int play(const Game::Setup &setup);

    void append(const QString &text) override;
    void clear() override { }
    void prependLineBreak() override { }
    bool ask(const QString &question) override;
    void inform(const QString &text) override;

private:
    // The next line of standard input without its line end; none at its end.
    std::optional<QString> readLine();

    bool echo;
};
