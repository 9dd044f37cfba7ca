// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What a game needs from the front end that shows it: a console to write into
// and the two kinds of message box. Line breaks in console text are CR LF.
class GameHost
{
public:
    virtual ~GameHost() = default;

    virtual void append(const QString &text) = 0;
    virtual void clear() = 0;
    // Puts one line break in front of everything the console shows.
    virtual void prependLineBreak() = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const QString &question) = 0;
    // A message with an OK button.
    virtual void inform(const QString &text) = 0;
};
