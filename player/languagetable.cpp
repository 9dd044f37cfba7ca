// SPDX-License-Identifier: MIT
#include "languagetable.h"

#include "gameerror.h"
#include "textcodec.h"

#include <QDir>
#include <QFile>
#include <QStringList>

LanguageTable LanguageTable::read(const QByteArray &bytes, const QString &fileName)
{
    LanguageTable table;
    table.file = fileName;
    const QString shownName = QDir::toNativeSeparators(fileName);
    auto fail = [&shownName](int lineNo, const QString &problem) {
        // One arg() call, so a "%" in the file name is never taken for a marker.
        return GameError(QStringLiteral("Language file \"%1\", line %2: %3").arg(shownName, QString::number(lineNo), problem));
    };

    const QString decoded = TextCodec::decode(bytes);
    const QList<QStringView> text = TextCodec::lines(decoded);
    qsizetype next = 0;
    while (next < text.size()) {
        const QStringView header = text.at(next++);
        if (!header.startsWith(u'['))
            continue;
        const int headerLine = int(next);
        const QString name = header.mid(1).toString().remove(u']');
        if (table.languages == MaxLanguages) {
            throw fail(headerLine, QStringLiteral("the language \"%1\" is one too many; a language file holds "
                                                  "at most %2 languages.")
                                       .arg(name, QString::number(MaxLanguages)));
        }
        auto &row = table.langtable[table.languages];
        auto &rowLines = table.lines[table.languages];
        row[0] = name;
        rowLines[0] = headerLine;
        for (int message = 1; message <= MessageCount; ++message) {
            if (next == text.size()) {
                throw fail(int(next), QStringLiteral("the language \"%1\" ends after %2 of its %3 messages.")
                                          .arg(name, QString::number(message - 1), QString::number(MessageCount)));
            }
            row[message] = text.at(next++).toString();
            rowLines[message] = int(next);
        }
        ++table.languages;
    }
    if (table.languages == 0) {
        throw GameError(QStringLiteral("Language file \"%1\" holds no language: each language begins with "
                                       "a line such as \"[English]\", followed by its %2 messages.")
                            .arg(shownName, QString::number(MessageCount)));
    }
    return table;
}

LanguageTable LanguageTable::readFile(const QString &path)
{
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        throw GameError(QStringLiteral("Cannot open the language file \"%1\": %2.")
                            .arg(QDir::toNativeSeparators(path), input.errorString()));
    }
    return read(input.readAll(), path);
}

QString LanguageTable::menu() const
{
    QString text;
    for (int language = 1; language <= languages; ++language)
        text += u'[' + QString::number(language) + QStringLiteral("] ") + name(language) + QStringLiteral("\r\n");
    return text;
}
