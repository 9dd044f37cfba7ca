// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

#include <string>

// What a game needs from the front end that shows it: a console to write
// into and a message box. Line breaks in console text are CR LF. The two
// Yes/No questions are not asked through here: the game waits in
// Game::State::Asking until the front end answers.
class GameHost
{
public:
    virtual ~GameHost() = default;

    virtual void append(TextView text) = 0;
    virtual void clear() = 0;
    // Puts one line break in front of everything the console shows.
    virtual void prependLineBreak() = 0;
    // A message with an OK button; text is UTF-8.
    virtual void inform(const std::string &text) = 0;
    // A fault the game reports and goes on from (a level it could not read
    // whole): its description and the command line the game was started
    // with, UTF-8. A window shows both in one message box, as it shows the
    // fault that stops the game; a terminal, where that command line was
    // just typed, may leave it out.
    virtual void fault(const std::string &description, const std::string &commandLine)
    {
        inform(description + "\r\n" + commandLine);
    }
};
