// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "qtext.h"
#include "testfiles.h"

#include <QDir>
#include <QStringList>

// Levels for the checker's tests, written into a test's folder, and the
// proof of a walkthrough: playing it through the engine to the end.
class CheckFiles
{
public:
    // The shipped English language file: N, S, E, W, TAKE, DROP, COMBINE ... WITH.
    static QString english() { return QStringLiteral(QUILLMOOR_BIN_DIR "/Language.txt"); }
    // English, Deutsch, Français, Español.
    static QString all() { return QStringLiteral(QUILLMOOR_BIN_DIR "/languages/all.txt"); }

    // Writes the level (the lines after its map section) as name in folder.
    static QString write(const QString &folder, const QString &name, const QStringList &afterMap)
    {
        const QString path = QDir(folder).filePath(name);
        if (!TestFiles::write(path, TestFiles::level(afterMap)))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Plays the commands in a new game of the level: empty when the last
    // command, and no earlier one, brings the game to its end-of-game
    // question; otherwise what went wrong.
    static QString playsToEnd(const QString &level, const QStringList &commands, const QString &language = english(),
                              int number = 1)
    {
        Game game({level.toStdString(), {}, language.toStdString()});
        game.start();
        if (game.state() == Game::State::ChoosingLanguage)
            game.enter(toText(QString::number(number)));
        for (qsizetype i = 0; i < commands.size(); ++i) {
            if (game.state() != Game::State::Playing)
                return QStringLiteral("the game no longer plays before command %1").arg(i + 1);
            game.enter(toText(commands[i]));
        }
        if (game.state() != Game::State::Asking)
            return QStringLiteral("the game has not ended after the last command");
        return {};
    }
};
