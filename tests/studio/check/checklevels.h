// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

// Levels for the studio's "Check Level" tests, as the lines after the map
// section: one of each verdict, a chain of two levels, and one whose search
// never ends in a test's time.
class CheckLevels
{
public:
    // Rope at the start and a hook east of it make the grapple that opens
    // the way south to the end: won in 5 commands.
    static QStringList grapple()
    {
        return {"[ITEMS]", "A rope", "B hook", "C grapple", "",
                "[LOCATION 1A]", "Cell.", "PATH E", "ITEM A", "START", "",
                "[LOCATION 1B]", "Yard.", "PATH S REQUIRES=C The wall is too high.", "PATH W", "ITEM B", "",
                "[LOCATION 2B]", "Top of the wall.", "PATH N", "ENDGAME", "",
                "[COMBOS]", "A+B=C", ""};
    }

    // The key to the only door lies nowhere.
    static QStringList locked()
    {
        return {"[ITEMS]", "A key", "",
                "[LOCATION 1A]", "Cell.", "PATH E REQUIRES=A The door is locked.", "START", "",
                "[LOCATION 1B]", "Out.", "PATH W", "ENDGAME", "",
                "[COMBOS]", ""};
    }

    // The passage east loads file, where the game goes on.
    static QStringList chain(const QString &file)
    {
        return {"[ITEMS]", "",
                "[LOCATION 1A]", "Gate.", "PATH E", "START", "",
                "[LOCATION 1B]", "Passage.", "PATH W", "LOADLEVEL " + file + " COMMENT=You climb down.", "",
                "[COMBOS]", ""};
    }

    // The level a chain leads to: won one step east, by a one-way exit.
    static QStringList cellar()
    {
        return {"[ITEMS]", "",
                "[LOCATION 2A]", "Cellar.", "PATH E", "START", "",
                "[LOCATION 2B]", "Stairs up.", "ENDGAME", "",
                "[COMBOS]", ""};
    }

    // Every location in use and joined to its neighbours, 25 items to carry
    // about, and the end behind doors whose key lies nowhere: far more play
    // states than a test can wait for.
    static QStringList endless()
    {
        QStringList lines{"[ITEMS]"};
        for (char item = 'A'; item <= 'Z'; ++item)
            lines << QStringLiteral("%1 thing-%2").arg(QChar(item)).arg(QChar(item).toLower());
        lines << "";
        for (int row = 1; row <= 9; ++row) {
            for (int col = 1; col <= 9; ++col) {
                const int n = 9 * (row - 1) + col;
                lines << QStringLiteral("[LOCATION %1%2]").arg(row).arg(QChar('A' + col - 1)) << "Somewhere.";
                const bool toEndSouth = row == 8 && col == 9;
                const bool toEndEast = row == 9 && col == 8;
                if (row > 1)
                    lines << "PATH N";
                if (row < 9)
                    lines << (toEndSouth ? "PATH S REQUIRES=Z Locked." : "PATH S");
                if (col < 9)
                    lines << (toEndEast ? "PATH E REQUIRES=Z Locked." : "PATH E");
                if (col > 1)
                    lines << "PATH W";
                if (n <= 25)
                    lines << QStringLiteral("ITEM %1").arg(QChar('A' + n - 1));
                if (n == 1)
                    lines << "START";
                if (n == 81)
                    lines << "ENDGAME";
                lines << "";
            }
        }
        lines << "[COMBOS]" << "";
        return lines;
    }
};
