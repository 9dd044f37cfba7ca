// SPDX-License-Identifier: MIT
#include "leveldocument.h"

#include "filebytes.h"
#include "levelreader.h"
#include "levelwriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

// The reader stops at its first fault. When the fault is only that the last
// block or section runs into the end of the file, the same text with the empty
// line that ends it reads without fault: every line was read.
bool leftUnread(const QString &gamefile)
{
    const std::optional<std::string> bytes = FileBytes::read(gamefile.toStdString(), nullptr);
    return !bytes || !LevelReader::read(*bytes + "\r\n\r\n", gamefile.toStdString()).ok();
}

} // namespace

LevelDocument::LevelDocument(QObject *parent)
    : QObject(parent)
{
}

bool LevelDocument::inUse(GridRef at) const
{
    return at.isValid() && marks[at.index()];
}

bool LevelDocument::pictured(GridRef at) const
{
    return at.isValid() && pictures[at.index()];
}

void LevelDocument::updateitems(const std::array<Text, ItemCount> &names, const std::vector<Combo> &rules)
{
    current.items = names;
    current.combos.assign(rules.begin(), rules.begin() + std::min<std::size_t>(rules.size(), ComboRows));
    Q_EMIT itemsChanged();
}

void LevelDocument::updategrid(GridRef at, LocationRecord record, std::uint32_t freeItems)
{
    if (!at.isValid())
        return;
    for (int item = 0; item < ItemCount; ++item) {
        if (record.holdsItem(item))
            current.placed[item] = true;
    }
    for (int item = 0; item < ItemCount; ++item) {
        if (freeItems & (std::uint32_t(1) << item))
            current.placed[item] = false;
    }
    keepSaved(at);
    current.record(at) = std::move(record);
    pictures[at.index()] = true;
    Q_EMIT locationChanged(at);
}

void LevelDocument::setInUse(GridRef at, bool used)
{
    if (!at.isValid())
        return;
    marks[at.index()] = used;
    Q_EMIT locationChanged(at);
}

LevelDocument::LocationState LevelDocument::locationState(GridRef at) const
{
    if (!at.isValid())
        return {};
    return {current.record(at), current.placed, marks[at.index()], pictures[at.index()]};
}

void LevelDocument::restore(GridRef at, const LocationState &state)
{
    if (!at.isValid())
        return;
    keepSaved(at);
    current.record(at) = state.record;
    current.placed = state.placed;
    marks[at.index()] = state.inUse;
    pictures[at.index()] = state.pictured;
    Q_EMIT locationChanged(at);
}

void LevelDocument::restoreLineBreaks(GridRef at)
{
    if (!at.isValid())
        return;
    LocationRecord converted = current.record(at).withLineBreaks();
    keepSaved(at);
    current.record(at) = std::move(converted);
}

void LevelDocument::keepSaved(GridRef at)
{
    std::optional<LocationRecord> &saved = savedRecords[at.index()];
    if (!saved)
        saved = std::move(current.record(at));
}

void LevelDocument::markSaved()
{
    savedRecords.fill(std::nullopt);
    savedItems = current.items;
    savedCombos = current.combos;
}

QString LevelDocument::loadgame(const QString &gamefile, bool *unread)
{
    LevelReader::Result result = LevelReader::readFile(gamefile.toStdString());
    if (unread)
        *unread = !result.ok() && leftUnread(gamefile);
    nonLevel = !result.level.isLevel();
    current = std::move(result.level);
    for (const GridRef &at : current.blocks) {
        marks[at.index()] = true;
        pictures[at.index()] = true;
    }
    markSaved();
    Q_EMIT loaded();
    return QString::fromStdString(result.error);
}

LevelDocument::SaveResult LevelDocument::save()
{
    SaveResult result;
    // The written form stays in memory too: line breaks as "~", the default
    // narrative, single separators. It writes the same file, so a failed
    // save leaves the level as modified as it was.
    for (LocationRecord &record : current.records) {
        if (record.isBlank())
            continue;
        record = record.normalised();
        if (record.startsForSave())
            result.hasStart = true;
    }

    const std::string bytes = bytesToSave();
    const QString where = QDir::toNativeSeparators(levelfile);
    QSaveFile file(levelfile);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Could not save the level to \"%1\": %2.").arg(where, file.errorString());
        return result;
    }
    // The level goes to disk only on flush; commit would not notice a failure
    // there and would put a cut-short file in place of the old one.
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush() || !file.commit()) {
        result.error = QStringLiteral("Could not save the level to \"%1\": %2. The file on disk is unchanged.")
                           .arg(where, file.errorString());
        return result;
    }
    markSaved();
    nonLevel = false;
    result.saved = true;
    return result;
}

std::string LevelDocument::bytesToSave() const
{
    // The writer writes every record in the form a save leaves it in.
    return LevelWriter::write(current);
}

bool LevelDocument::isModified() const
{
    bool changed = current.items != savedItems || current.combos != savedCombos;
    for (int i = 0; i < Level::LocationCount && !changed; ++i)
        changed = savedRecords[i] && !(*savedRecords[i] == current.records[i]);
    if (!changed)
        return false;
    // Edits that write the same file, such as a location committed unchanged,
    // are no change.
    Level saved = current;
    for (int i = 0; i < Level::LocationCount; ++i) {
        if (savedRecords[i])
            saved.records[i] = *savedRecords[i];
    }
    saved.items = savedItems;
    saved.combos = savedCombos;
    return LevelWriter::write(current) != LevelWriter::write(saved);
}
