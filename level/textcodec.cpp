// SPDX-License-Identifier: MIT
#include "textcodec.h"

#include <QStringDecoder>

#include <algorithm>

QString TextCodec::decode(const QByteArray &bytes, Encoding *found)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (found)
            *found = Utf8;
        return text;
    }
    if (found)
        *found = Latin1;
    return QString::fromLatin1(bytes);
}

QByteArray TextCodec::encode(const QString &text, Encoding encoding)
{
    // A character Latin-1 cannot hold would be lost: then the whole file goes
    // out as UTF-8, which keeps every character.
    if (encoding == Latin1) {
        const bool fits = std::all_of(text.cbegin(), text.cend(),
                                      [](QChar c) { return c.unicode() <= 0xff; });
        if (fits)
            return text.toLatin1();
    }
    return text.toUtf8();
}

QList<QStringView> TextCodec::lines(const QString &text)
{
    QList<QStringView> result;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        if (end > start && text.at(end - 1) == u'\r')
            --end;
        result.append(QStringView(text).sliced(start, end - start));
        start = next;
    }
    return result;
}
