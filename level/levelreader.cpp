// SPDX-License-Identifier: MIT
#include "levelreader.h"

#include "levelformat.h"

#include <QDir>
#include <QFile>

namespace {

class Reading
{
public:
    Reading(const QByteArray &bytes, const QString &fileName)
        : fileName(fileName)
        , text(TextCodec::decode(bytes, &result.level.encoding))
        , lines(TextCodec::lines(text))
    {
    }

    LevelReader::Result run()
    {
        while (next < lines.size()) {
            const int lineNo = next + 1;
            const QStringView line = lines.at(next++);
            bool read = true;
            if (line.contains(QLatin1String("[LOCATION")))
                read = readLocation(line, lineNo);
            else if (line.contains(QLatin1String("[MAP]")))
                ++result.level.mapSections;
            else if (line.contains(QLatin1String("[ITEMS]")))
                read = readItems(lineNo);
            else if (line.contains(QLatin1String("[COMBOS]")))
                read = readCombos(lineNo);
            if (!read)
                break;
        }
        return result;
    }

private:
    bool fail(int lineNo, const QString &problem)
    {
        result.error = QStringLiteral("Level file \"%1\", line %2: %3")
                           .arg(QDir::toNativeSeparators(fileName), QString::number(lineNo), problem);
        result.errorLine = lineNo;
        return false;
    }

    // The next line of a block or section, or nothing at the end of the file.
    const QStringView *take() { return next < lines.size() ? &lines.at(next++) : nullptr; }

    bool readLocation(QStringView header, int lineNo)
    {
        const QChar row = header.size() > 10 ? header.at(10) : QChar();
        const QChar col = header.size() > 11 ? header.at(11) : QChar();
        if (row < u'1' || row > u'9' || col < u'A' || col > u'I') {
            return fail(lineNo, QStringLiteral("the location header \"%1\" does not name a row 1 to 9 "
                                               "and a column A to I at the start of the line, as in \"[LOCATION 3C]\".")
                                    .arg(header.toString()));
        }
        const GridRef ref{row.unicode() - u'0', col.unicode() - u'A' + 1};
        Level &level = result.level;
        level.blocks.append(ref);
        QString &record = level.record(ref);
        while (const QStringView *line = take()) {
            LevelFormat::appendReplacing(record, *line, u'~', LevelFormat::LineBreak);
            record += u'|';
            const QStringView trimmed = LevelFormat::trimmedView(*line);
            if (trimmed.isEmpty())
                return true;
            if (trimmed == QLatin1StringView("START"))
                level.start = ref;
            if (trimmed.size() == 6 && trimmed.startsWith(QLatin1StringView("ITEM ")) && trimmed.at(5) >= u'A'
                && trimmed.at(5) <= u'Z')
                level.placed[trimmed.at(5).unicode() - u'A'] = true;
        }
        return fail(lineNo, QStringLiteral("the block of location %1 runs into the end of the file "
                                           "without the empty line that ends it.")
                                .arg(ref.name()));
    }

    bool readItems(int lineNo)
    {
        int position = 0;
        while (const QStringView *line = take()) {
            if (LevelFormat::isBlank(*line))
                return true;
            // "D lamp" names item D; a line without its letter takes the next one.
            int item = position;
            if (line->size() >= 2 && line->at(0) >= u'A' && line->at(0) <= u'Z' && line->at(1) == u' ')
                item = line->at(0).unicode() - u'A';
            if (item >= Level::ItemCount)
                return fail(next, QStringLiteral("the item line \"%1\" comes after item Z; a level has at "
                                                 "most 26 items, A to Z.")
                                      .arg(line->toString()));
            result.level.items[item] = line->mid(2).toString();
            position = item + 1;
        }
        return fail(lineNo, QStringLiteral("the [ITEMS] section runs into the end of the file "
                                           "without the empty line that ends it."));
    }

    bool readCombos(int lineNo)
    {
        QList<Combo> &combos = result.level.combos;
        while (const QStringView *line = take()) {
            if (LevelFormat::isBlank(*line))
                return true;
            if (combos.size() == Level::ComboRows)
                return fail(next, QStringLiteral("the [COMBOS] section holds more than 100 rules."));
            auto letter = [line](int i) { return i < line->size() ? QString(line->at(i)) : QString(); };
            combos.append({letter(0), letter(2), letter(4)});
        }
        return fail(lineNo, QStringLiteral("the [COMBOS] section runs into the end of the file "
                                           "without the empty line that ends it."));
    }

    QString fileName;
    LevelReader::Result result;
    QString text;
    QList<QStringView> lines;
    int next = 0;
};

} // namespace

LevelReader::Result LevelReader::read(const QByteArray &bytes, const QString &fileName)
{
    return Reading(bytes, fileName).run();
}

LevelReader::Result LevelReader::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Result result;
        result.error = QStringLiteral("Cannot open the level file \"%1\": %2.")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    return read(file.readAll(), path);
}
