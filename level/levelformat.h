// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The fixed texts of the level format and the small rules both programs share.
class LevelFormat
{
public:
    static inline const QString DefaultNarrative = QStringLiteral("In this area you see nothing unusual.");
    static inline const QString LineBreak = QStringLiteral("\r\n");

    // Removes spaces, and only spaces, from both ends.
    static QString trimSpaces(const QString &text);
    static bool isBlank(const QString &text) { return trimSpaces(text).isEmpty(); }

    // Puts a location record into the form it is written in: line breaks as
    // "~", the default narrative in place of a blank one, and every run of "|"
    // made single, so that no piece can end the block early.
    static QString normaliseRecord(QString record);
};
