// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

// Language and level files for the player's tests: a small English message
// table, a small adventure, and writing them into a test's folder.
class GameFiles
{
public:
    static QStringList english()
    {
        return {
            "I do not understand|Try HELP.", // 1
            "You have won!|End the game?",
            "There is no|here.",
            "Take what?",
            "You take the", // 5
            "You drop the|here.",
            "You do not carry|.",
            "Drop what?",
            "You combine the|with the|and make",
            "You cannot combine|: that is one item.|: name two things you carry.", // 10
            "You cannot go that way.",
            "There is an exit",
            "You see",
            "Then carry on.",
            "N|north|NORTH", // 15
            "S|south|SOUTH",
            "E|east|EAST",
            "W|west|WEST",
            "DROP |PUT ",
            "TAKE |GET ", // 20
            "WITH/AND",
            "COMBINE |USE ",
            "HELP|?",
            "I|INVENTORY",
            "Q|QUIT", // 25
            "You carry:",
            "Do you really want to quit?",
        };
    }

    // One block per language: "[name]" and its messages.
    static QByteArray language(const QList<std::pair<QString, QStringList>> &languages)
    {
        QStringList lines{"Languages for the tests"};
        for (const auto &[name, messages] : languages)
            lines += QStringList{'[' + name + ']'} + messages;
        return crlf(lines);
    }

    static QByteArray crlf(const QStringList &lines) { return (lines.join("\r\n") + "\r\n").toUtf8(); }

    // Rope and hook in the cell make a grapple, which opens the way south to
    // the end of the game; the yard holds the rest and a gate to another level.
    static QByteArray adventure()
    {
        return crlf({
            "[MAP]", "",
            "[ITEMS]", "A rope", "B hook", "C grapple", "D brass key", "E lamp", "F lamp", "G oil", "H torch",
            "I pebble", "",
            "[LOCATION 1A]", "Cell.", "PATH E", "PATH S REQUIRES=C  The wall is too high. ", "ITEM A", "ITEM B",
            "START", "",
            "[LOCATION 1B]", "Yard.~Wind.", "PATH N", "PATH S", "PATH E REQUIRES=c Blocked.", "PATH W", "ITEM D",
            "ITEM E", "ITEM F", "ITEM G", "ITEM I", "",
            "[LOCATION 2A]", "Top of the wall.", "PATH N", "ENDGAME", "",
            "[LOCATION 2B]", "Gate.", "PATH N", "LOADLEVEL field.qw COMMENT=You pass the gate.", "",
            "[COMBOS]", "A+B=C", "D+D=H", "G+I=H", "I+G=C", "A+A=I", "B+G=9", "",
        });
    }

    // The level the gate leads to.
    static QByteArray field()
    {
        return crlf({"[ITEMS]", "A stone", "", "[LOCATION 5E]", "Field.", "ITEM A", "START", "", "[COMBOS]", ""});
    }

    static QString write(const QString &folder, const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(folder).filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }
};
