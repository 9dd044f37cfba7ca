// SPDX-License-Identifier: MIT
#include "levelformat.h"

#include <algorithm>

QStringView LevelFormat::trimmedView(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.sliced(first, last - first);
}

void LevelFormat::appendReplacing(QString &text, QStringView from, QChar what, QStringView with)
{
    // Growing by small steps would touch fresh memory again and again; a text
    // that grows line by line still doubles.
    const qsizetype needed = text.size() + from.size() + from.count(what) * (with.size() - 1);
    if (needed > text.capacity())
        text.reserve(std::max(needed, 2 * text.capacity()));
    qsizetype start = 0;
    for (qsizetype at = from.indexOf(what); at >= 0; at = from.indexOf(what, start)) {
        text.append(from.sliced(start, at - start));
        text.append(with);
        start = at + 1;
    }
    text.append(from.sliced(start));
}

namespace {

// Appends a piece with its line breaks, CR LF or a bare LF, written as "~".
void appendFolded(QString &text, QStringView piece)
{
    qsizetype start = 0;
    for (qsizetype at = piece.indexOf(u'\n'); at >= 0; at = piece.indexOf(u'\n', start)) {
        const qsizetype end = at > start && piece.at(at - 1) == u'\r' ? at - 1 : at;
        text.append(piece.sliced(start, end - start));
        text.append(u'~');
        start = at + 1;
    }
    text.append(piece.sliced(start));
}

} // namespace

namespace {

// Whether normalising would leave the record as it is: no line feed, a
// narrative that is not blank, no blank piece after it, and a closing "|".
bool isNormal(QStringView record)
{
    if (!record.endsWith(u'|') || record.contains(u'\n'))
        return false;
    qsizetype start = 0;
    for (qsizetype bar = record.indexOf(u'|'); bar >= 0; bar = record.indexOf(u'|', start)) {
        if (LevelFormat::isBlank(record.sliced(start, bar - start)))
            return false;
        start = bar + 1;
    }
    return true;
}

} // namespace

QString LevelFormat::normaliseRecord(const QString &record)
{
    if (isNormal(record))
        return record;
    QString result;
    result.reserve(record.size() + DefaultNarrative.size() + 1);
    bool narrative = true;
    qsizetype start = 0;
    while (start <= record.size()) {
        qsizetype bar = record.indexOf(u'|', start);
        if (bar < 0)
            bar = record.size();
        const QStringView piece = QStringView(record).sliced(start, bar - start);
        if (narrative) {
            // A narrative of spaces alone would be read back as the block's end.
            if (isBlank(piece))
                result += DefaultNarrative;
            else
                appendFolded(result, piece);
            result += u'|';
            narrative = false;
        } else if (!isBlank(piece)) {
            appendFolded(result, piece);
            result += u'|';
        }
        start = bar + 1;
    }
    return result;
}
