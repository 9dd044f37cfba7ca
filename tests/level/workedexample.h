// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>

// The four-item, three-location level used across the format tests: a start
// with two items, a corridor with a locked south exit, and a winning room.
inline QByteArray workedExample()
{
    QStringList lines{QStringLiteral("[MAP]")};
    for (int row = 1; row <= 9; ++row)
        lines << QString::number(row) + QStringLiteral(" ABCDEFGHI");
    lines << QString() << QStringLiteral("[ITEMS]") << QStringLiteral("A brass-key") << QStringLiteral("B lamp")
          << QStringLiteral("C oil") << QStringLiteral("D lit-lamp") << QString()
          << QStringLiteral("[LOCATION 1A]") << QStringLiteral("You wake up in a cold cell.")
          << QStringLiteral("PATH E") << QStringLiteral("ITEM A") << QStringLiteral("ITEM C")
          << QStringLiteral("START") << QString() << QStringLiteral("[LOCATION 1B]")
          << QStringLiteral("A long corridor.~Torches flicker on the walls.")
          << QStringLiteral("PATH S REQUIRES=D It is too dark to go south.") << QStringLiteral("PATH W")
          << QStringLiteral("ITEM B") << QString() << QStringLiteral("[LOCATION 2B]")
          << QStringLiteral("In this area you see nothing unusual.") << QStringLiteral("PATH N")
          << QStringLiteral("ENDGAME") << QString() << QStringLiteral("[COMBOS]") << QStringLiteral("B+C=D")
          << QString();
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}
