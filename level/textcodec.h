// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Level and language files are 8-bit text. Files that are valid UTF-8 are read
// as UTF-8; anything else is taken byte for byte as Latin-1, so every file reads
// without loss and writes back exactly as it was.
class TextCodec
{
public:
    enum Encoding { Utf8, Latin1 };

    static QString decode(const QByteArray &bytes, Encoding *found = nullptr);
    static QByteArray encode(const QString &text, Encoding encoding);
    // Splits text into lines ended by CR LF or by a bare LF; a last line
    // without a line end is still a line. The lines are views into text.
    static QList<QStringView> lines(const QString &text);
};
