// SPDX-License-Identifier: MIT
#pragma once

#include "testfiles.h"

// The four-item, three-location level used across the format tests: a start
// with two items, a corridor with a locked south exit, and a winning room.
inline QByteArray workedExample()
{
    return TestFiles::level(QStringList{QStringLiteral("[ITEMS]")} << QStringLiteral("A brass-key") << QStringLiteral("B lamp")
          << QStringLiteral("C oil") << QStringLiteral("D lit-lamp") << QString()
          << QStringLiteral("[LOCATION 1A]") << QStringLiteral("You wake up in a cold cell.")
          << QStringLiteral("PATH E") << QStringLiteral("ITEM A") << QStringLiteral("ITEM C")
          << QStringLiteral("START") << QString() << QStringLiteral("[LOCATION 1B]")
          << QStringLiteral("A long corridor.~Torches flicker on the walls.")
          << QStringLiteral("PATH S REQUIRES=D It is too dark to go south.") << QStringLiteral("PATH W")
          << QStringLiteral("ITEM B") << QString() << QStringLiteral("[LOCATION 2B]")
          << QStringLiteral("In this area you see nothing unusual.") << QStringLiteral("PATH N")
          << QStringLiteral("ENDGAME") << QString() << QStringLiteral("[COMBOS]") << QStringLiteral("B+C=D")
          << QString());
}
