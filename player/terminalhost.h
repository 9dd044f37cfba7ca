// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "gamehost.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Plays in a terminal or through pipes: the console text goes to standard
// output as it is written (line breaks as "\n"), messages to standard error
// (a fault's once, without the command line a window adds to its box),
// and every line of standard input is one typed line. Piped input is echoed
// after the prompt, so a session reads as a transcript; so are the lines
// given to read first. A question is asked
// with "(y/n)" and answered by a line beginning with y or Y.
class TerminalHost : public GameHost
{
public:
    TerminalHost();
    ~TerminalHost() override;
    TerminalHost(const TerminalHost &) = delete;
    TerminalHost &operator=(const TerminalHost &) = delete;

    // What a game begins from and where it ends up, beside its Setup.
    struct Files
    {
        std::string restore; // a saved game to go on with instead of starting; empty: none
        std::string save; // where to save the game at its end; empty: nowhere
    };

    // Plays until the game ends, stops or the input runs out, and then saves
    // it when told; returns the exit status: 1 after a fault that stopped
    // the game, a saved game refused or a save that failed, else 0.
    int play(const Game::Setup &setup, const Files &files = {});
    // Lines read before standard input, as if they came first in it; each
    // is echoed after the prompt, since no terminal showed it.
    void typeFirst(std::vector<Text> lines);

    void append(TextView text) override;
    void clear() override { }
    void prependLineBreak() override { }
    void inform(const std::string &text) override;
    // The command line was just typed here: the description says it all.
    void fault(const std::string &description, const std::string &commandLine) override;

private:
    // Writes the game's state to path; the exit status.
    int save(const Game &game, const std::string &path);
    // The next line of standard input without its line end; none at its end.
    std::optional<Text> readLine();

    bool echo;
    std::deque<Text> typed;
    std::string out; // reused for each write
    char *buffer = nullptr; // the line read, grown by getline
    std::size_t capacity = 0;
};
