// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The player's options and the level it is asked to play, read from the
// program's arguments before any window system is touched.
class CommandLine
{
public:
    // arguments without the program name
    static CommandLine parse(const QStringList &arguments);
    static QString usage();

    bool tty = false;
    bool help = false;
    bool version = false;
    QString languageFile; // empty: Language.txt from the data folder
    // What follows the options, joined by single spaces, double quotes removed.
    QString level;
    QString error; // a wrong option; empty when the arguments are fine
};
