// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

// The fixed texts of the level format and the small rules both programs share.
class LevelFormat
{
public:
    static inline const QString DefaultNarrative = QStringLiteral("In this area you see nothing unusual.");
    static inline const QString LineBreak = QStringLiteral("\r\n");

    // Removes spaces, and only spaces, from both ends.
    static QString trimSpaces(const QString &text) { return trimmedView(text).toString(); }
    static QStringView trimmedView(QStringView text);
    static bool isBlank(QStringView text) { return trimmedView(text).isEmpty(); }

    // Appends from to text with every what replaced by with, in one pass:
    // records may hold narratives of many megabytes.
    static void appendReplacing(QString &text, QStringView from, QChar what, QStringView with);

    // Puts a location record into the form it is written in: line breaks as
    // "~", the default narrative in place of a blank one, and no empty or blank
    // pieces after it, so that every piece is one line and none ends the block
    // early. Every piece, the last included, ends in "|".
    // A record already in that form comes back shared, without a copy.
    static QString normaliseRecord(const QString &record);
};
