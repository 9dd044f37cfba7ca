// SPDX-License-Identifier: MIT
#include "textcodec.h"

#include <QStringDecoder>
#include <QStringList>

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

QStringList TextCodec::lines(const QString &text)
{
    QStringList result = text.split(u'\n');
    // A final line end does not open another line.
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    for (QString &line : result) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return result;
}
