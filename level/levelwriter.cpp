// SPDX-License-Identifier: MIT
#include "levelwriter.h"

#include "levelformat.h"

QByteArray LevelWriter::write(const Level &level)
{
    const QString &end = LevelFormat::LineBreak;
    QString text = QStringLiteral("[MAP]") + end;
    for (int row = 1; row <= GridRef::Size; ++row)
        text += QString::number(row) + QStringLiteral(" ABCDEFGHI") + end;
    text += end;

    text += QStringLiteral("[ITEMS]") + end;
    for (int i = 0; i < Level::ItemCount; ++i) {
        const QString name = LevelFormat::trimSpaces(level.items[i]);
        if (!name.isEmpty())
            text += QChar(u'A' + i) + u' ' + QString(name).replace(u' ', u'-') + end;
    }
    text += end;

    qsizetype size = text.size() + 4096;
    for (const QString &record : level.records)
        size += record.size() + record.size() / 8;
    text.reserve(size);
    for (int i = 0; i < Level::LocationCount; ++i) {
        const QString &record = level.records[i];
        if (LevelFormat::isBlank(record))
            continue;
        text += QStringLiteral("[LOCATION ") + GridRef::fromIndex(i).name() + u']' + end;
        LevelFormat::appendReplacing(text, LevelFormat::normaliseRecord(record), u'|', end);
        text += end;
    }

    text += QStringLiteral("[COMBOS]") + end;
    for (const Combo &combo : level.combos) {
        if (!LevelFormat::isBlank(combo.first))
            text += combo.first + u'+' + combo.second + u'=' + combo.result + end;
    }
    text += end;

    return TextCodec::encode(text, level.encoding);
}
