// SPDX-License-Identifier: MIT
#include "levelformat.h"

#include <QStringList>

QString LevelFormat::trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString LevelFormat::normaliseRecord(QString record)
{
    record.replace(LineBreak, QStringLiteral("~"));
    // A bare line feed would split a line of the block in two.
    record.replace(u'\n', u'~');

    const QStringList pieces = record.split(u'|');
    // A narrative of spaces alone would be read back as the block's end.
    QString result = isBlank(pieces.first()) ? DefaultNarrative : pieces.first();
    result += u'|';
    // Empty pieces collapse, however many there are; so do pieces of spaces,
    // which would end the block early too.
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        if (!isBlank(pieces.at(i)))
            result += pieces.at(i) + u'|';
    }
    return result;
}
