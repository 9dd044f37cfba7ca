// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The one level the studio edits, and the studio's only model: the 81
// location records, the 26 item names with their placed flags and the
// combination rules, plus what the map shows of each location that the file
// does not hold (whether it is marked in use, and whether it has been given
// its picture yet). Windows change it only through its operations and follow
// it through its signals, so it runs and is tested without any window.
class LevelDocument : public QObject
{
    Q_OBJECT

public:
    static constexpr int ItemCount = Level::ItemCount;
    static constexpr int ComboRows = Level::ComboRows;

    // One location as the document and the map hold it, with the placed
    // flags that committing it changes: what undoing or redoing a commit puts
    // back.
    struct LocationState
    {
        LocationRecord record;
        std::array<bool, ItemCount> placed{};
        bool inUse = false;
        bool pictured = false;
        friend bool operator==(const LocationState &, const LocationState &) = default;
    };

    struct SaveResult
    {
        bool saved = false;
        QString error; // what failed and where, when not saved
        bool hasStart = false;
    };

    explicit LevelDocument(QObject *parent = nullptr);

    // Path of the level file, as the author named it.
    QString levelfile;

    const Level &level() const { return current; }
    const LocationRecord &locdata(GridRef at) const { return current.record(at); }
    // Items are numbered 0 to 25 for the letters A to Z, as in the level.
    const std::array<Text, ItemCount> &itemnames() const { return current.items; }
    const std::array<bool, ItemCount> &placed() const { return current.placed; }
    // The rules in order, at most ComboRows of them.
    const std::vector<Combo> &combotable() const { return current.combos; }

    // The map's mark: whether the location shows as in use (black).
    bool inUse(GridRef at) const;
    // Whether the location has a picture: it was read from the file or
    // committed. Other locations show none, whatever their record.
    bool pictured(GridRef at) const;

    // Names the 26 items and replaces the rules; rules beyond ComboRows have
    // no row to go to.
    void updateitems(const std::array<Text, ItemCount> &names, const std::vector<Combo> &rules);
    // Stores a committed location. Items the record holds are placed; then
    // those whose bit is set in freeItems (bit n for item n) lie nowhere, so
    // an item in both ends up free. The location gets its picture.
    void updategrid(GridRef at, LocationRecord record, std::uint32_t freeItems);
    // Marks the location in use or not; nothing else changes.
    void setInUse(GridRef at, bool used);
    LocationState locationState(GridRef at) const;
    // Puts a location back as it was: its record, its mark and its picture,
    // and the placed flags of all items.
    void restore(GridRef at, const LocationState &state);
    // Turns the "~" a save left in the record back into line breaks, as the
    // area editor does when it opens the location; the file would not change.
    void restoreLineBreaks(GridRef at);

    // Reads an existing level file. Returns an empty text, or what is wrong
    // with the file (its name, the line and the problem); whatever could be
    // read before a fault is kept. Every location read is marked in use and
    // gets its picture. When unread is given, it tells whether the fault left
    // part of the file unread: a last block or section that only lacks its
    // ending empty line leaves nothing unread.
    QString loadgame(const QString &gamefile, bool *unread = nullptr);
    // Writes the level to levelfile. The records keep the form written. The
    // file is replaced only once the whole level is written, so a failed save
    // leaves the old file whole.
    SaveResult save();
    // The file a save would write now, without saving or changing anything:
    // what a check of the level as the author sees it reads.
    std::string bytesToSave() const;
    // Whether saving now would write something other than the last save or load.
    bool isModified() const;
    // Whether a save would replace a file that is no level: levelfile was
    // read and held none (Level::isLevel), and no save has written one since.
    bool replacesNonLevel() const { return nonLevel; }

Q_SIGNALS:
    // The record, the mark or the picture of one location changed.
    void locationChanged(GridRef at);
    // The item names and rules were replaced.
    void itemsChanged();
    // A level file was read: everything may have changed.
    void loaded();

private:
    // Keeps the record as the last load or save left it, before its first change.
    void keepSaved(GridRef at);
    void markSaved();

    Level current;
    std::array<bool, Level::LocationCount> marks{};
    std::array<bool, Level::LocationCount> pictures{};
    // The level as the last load or save left it: its names and rules, and
    // the records of the locations changed since. A record may be many
    // megabytes, so unchanged ones are not copied.
    std::array<std::optional<LocationRecord>, Level::LocationCount> savedRecords;
    std::array<Text, ItemCount> savedItems;
    std::vector<Combo> savedCombos;
    bool nonLevel = false;
};

Q_DECLARE_METATYPE(GridRef)
