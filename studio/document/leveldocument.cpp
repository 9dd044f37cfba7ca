// SPDX-License-Identifier: MIT
#include "leveldocument.h"

#include "levelformat.h"
#include "levelreader.h"
#include "levelwriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

QString letter(int n)
{
    return QString(QChar(u'A' + n - 1));
}

QString flag(const QString &record, const char *tag)
{
    return record.contains(QLatin1String(tag)) ? QStringLiteral("1") : QStringLiteral("0");
}

// The reader stops at its first fault. When the fault is only that the last
// block or section runs into the end of the file, the same text with the empty
// line that ends it reads without fault: every line was read.
bool leftUnread(const QString &gamefile)
{
    QFile file(gamefile);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    return !LevelReader::read(file.readAll() + "\r\n\r\n", gamefile).ok();
}

} // namespace

LevelDocument::LevelDocument(QObject *parent)
    : QObject(parent)
    , baseline(level())
{
}

const QString &LevelDocument::locdata(int row, int col) const
{
    return records[GridRef{row, col}.index()];
}

QString &LevelDocument::record(int row, int col)
{
    return records[GridRef{row, col}.index()];
}

void LevelDocument::setLocdata(int row, int col, const QString &record)
{
    this->record(row, col) = record;
}

const QString &LevelDocument::itemnames(int n) const
{
    return names[n - 1];
}

bool LevelDocument::placed(int n) const
{
    return placedFlags[n - 1];
}

const Combo &LevelDocument::combotable(int n) const
{
    return combos[n - 1];
}

void LevelDocument::updateitems(int iln, const QString &gupdate, bool combo)
{
    if (!combo) {
        names[iln - 1] = gupdate;
        if (!LevelFormat::isBlank(gupdate))
            Q_EMIT itemListed(gupdate);
        return;
    }

    combos.fill(Combo{});
    const QStringList tokens = gupdate.split(u'|');
    // The last piece is what follows the last "|", which ends no rule; rules
    // beyond the table's size have no row to go to.
    const qsizetype rules = std::min<qsizetype>(tokens.size() - 1, ComboRows);
    for (qsizetype n = 0; n < rules; ++n) {
        const QString &token = tokens.at(n);
        auto at = [&token](int i) { return i < token.size() ? QString(token.at(i)) : QString(); };
        combos[n] = {at(0), at(2), at(4)};
    }
}

void LevelDocument::updategrid(int row, int col, const QString &gupdate, const QString &gupdate2)
{
    record(row, col) = gupdate;
    for (int n = 1; n <= ItemCount; ++n) {
        if (gupdate.contains(QStringLiteral("ITEM ") + letter(n)))
            placedFlags[n - 1] = true;
    }
    for (int n = 1; n <= ItemCount; ++n) {
        if (gupdate2.contains(QStringLiteral("ITEM ") + letter(n)))
            placedFlags[n - 1] = false;
    }
    announceExits(row, col);
}

void LevelDocument::announceExits(int row, int col)
{
    const QString &r = locdata(row, col);
    Q_EMIT exitsChanged(row, col, flag(r, "PATH N"), flag(r, "PATH S"), flag(r, "PATH E"), flag(r, "PATH W"));
}

QString LevelDocument::loadgame(const QString &gamefile, bool *unread)
{
    const LevelReader::Result result = LevelReader::readFile(gamefile);
    if (unread)
        *unread = !result.ok() && leftUnread(gamefile);
    const Level &read = result.level;

    records = read.records;
    names = read.items;
    placedFlags = read.placed;
    combos.fill(Combo{});
    std::copy_n(read.combos.cbegin(), std::min<qsizetype>(read.combos.size(), ComboRows), combos.begin());
    encoding = read.encoding;

    for (const GridRef &ref : read.blocks) {
        Q_EMIT locationRead(ref.row, ref.col);
        announceExits(ref.row, ref.col);
    }
    for (int i = 0; i < read.mapSections; ++i)
        Q_EMIT mapRead();
    for (int n = 1; n <= ItemCount; ++n) {
        if (names[n - 1].isEmpty())
            continue;
        if (!LevelFormat::isBlank(names[n - 1]))
            Q_EMIT itemListed(names[n - 1]);
        Q_EMIT itemNameRead(n, names[n - 1]);
    }
    // A later rule for the same result shows over an earlier one; both stay.
    for (const Combo &combo : read.combos) {
        const QChar result = combo.result.isEmpty() ? QChar() : combo.result.at(0);
        if (result >= u'A' && result <= u'Z')
            Q_EMIT ingredientsRead(result.unicode() - u'A' + 1, combo.first, combo.second);
    }

    baseline = level();
    return result.error;
}

Level LevelDocument::level() const
{
    Level level;
    level.records = records;
    level.items = names;
    level.combos = QList<Combo>(combos.cbegin(), combos.cend());
    level.encoding = encoding;
    return level;
}

LevelDocument::SaveResult LevelDocument::save()
{
    SaveResult result;
    // The written form stays in memory too: line breaks as "~", the default
    // narrative, single separators.
    for (QString &record : records) {
        if (LevelFormat::isBlank(record))
            continue;
        record = LevelFormat::normaliseRecord(record);
        if (record.contains(QLatin1String("START|")))
            result.hasStart = true;
    }

    const QByteArray bytes = LevelWriter::write(level());
    const QString where = QDir::toNativeSeparators(levelfile);
    QSaveFile file(levelfile);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Could not save the level to \"%1\": %2.").arg(where, file.errorString());
        return result;
    }
    // The level goes to disk only on flush; commit would not notice a failure
    // there and would put a cut-short file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        result.error = QStringLiteral("Could not save the level to \"%1\": %2. The file on disk is unchanged.")
                           .arg(where, file.errorString());
        return result;
    }
    baseline = level();
    result.saved = true;
    return result;
}

bool LevelDocument::isModified() const
{
    const Level now = level();
    if (now.records == baseline.records && now.items == baseline.items && now.combos == baseline.combos)
        return false;
    // Edits that write the same file, such as a location committed unchanged,
    // are no change.
    return LevelWriter::write(now) != LevelWriter::write(baseline);
}
