// SPDX-License-Identifier: MIT
#pragma once

#include "gamehost.h"

#include <QStringList>

// A front end for tests: keeps the console as a window would show it and
// everything ever written; questions take their answers from a list (No when
// it runs out).
class RecordingHost : public GameHost
{
public:
    void append(const QString &text) override
    {
        console += text;
        transcript += text;
    }
    void clear() override { console.clear(); }
    void prependLineBreak() override { console.prepend("\r\n"); }
    bool ask(const QString &question) override
    {
        questions.append(question);
        return !answers.isEmpty() && answers.takeFirst();
    }
    void inform(const QString &text) override { messages.append(text); }

    QString console;
    QString transcript;
    QStringList questions;
    QStringList messages;
    QList<bool> answers;
};
