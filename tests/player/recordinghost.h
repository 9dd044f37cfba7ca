// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "gamehost.h"
#include "qtext.h"

#include <QStringList>

// A front end for tests: keeps the console as a window would show it and
// everything ever written; questions take their answers from a list (No when
// it runs out).
class RecordingHost : public GameHost
{
public:
    void append(TextView text) override
    {
        console += toQString(text);
        transcript += toQString(text);
    }
    void clear() override { console.clear(); }
    void prependLineBreak() override { console.prepend("\r\n"); }
    void inform(const std::string &text) override { messages.append(toQString(text)); }

    // Answers the game's open questions, as a front end does after each call.
    void answerQuestions(Game &game)
    {
        while (game.state() == Game::State::Asking) {
            questions.append(toQString(game.question()));
            game.answer(!answers.isEmpty() && answers.takeFirst());
        }
    }

    QString console;
    QString transcript;
    QStringList questions;
    QStringList messages;
    QList<bool> answers;
};
