// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"
#include "level.h"

#include <QObject>
#include <QString>

// The one level the studio edits: the 81 location records, the 26 item names
// with their placed flags, and the combination table. Windows change it only
// through updateitems, updategrid and loadgame, and learn what the loader read
// from its signals, so the document runs and is tested without any window.
class LevelDocument : public QObject
{
    Q_OBJECT

public:
    static constexpr int Size = GridRef::Size;
    static constexpr int ItemCount = Level::ItemCount;
    static constexpr int ComboRows = Level::ComboRows;

    struct SaveResult
    {
        bool saved = false;
        QString error; // what failed and where, when not saved
        bool hasStart = false;
    };

    explicit LevelDocument(QObject *parent = nullptr);

    // Path of the level file, as the author named it.
    QString levelfile;

    // Rows and columns 1 to 9, items 1 to 26, combination rows 1 to 100.
    const QString &locdata(int row, int col) const;
    // Rewrites a record in place without committing it (the area editor's
    // opening turns "~" back into line breaks).
    void setLocdata(int row, int col, const QString &record);
    const QString &itemnames(int n) const;
    bool placed(int n) const;
    const Combo &combotable(int n) const;

    // combo false: item iln is named gupdate. combo true: the combination table
    // becomes the rules of the ComboString gupdate ("A+B=C|" per rule).
    void updateitems(int iln, const QString &gupdate, bool combo);
    // Stores a committed location record; items named in gupdate2 ("ITEM X|"
    // pieces) lie nowhere any more.
    void updategrid(int row, int col, const QString &gupdate, const QString &gupdate2);
    // Reads an existing level file. Returns an empty text, or what is wrong
    // with the file (its name, the line and the problem); whatever could be
    // read before a fault is kept. When unread is given, it tells whether the
    // fault left part of the file unread: a last block or section that only
    // lacks its ending empty line leaves nothing unread.
    QString loadgame(const QString &gamefile, bool *unread = nullptr);
    // Writes the level to levelfile. The file is replaced only once the whole
    // level is written, so a failed save leaves the old file whole.
    SaveResult save();
    // Whether saving now would write something other than the last save or load.
    bool isModified() const;

Q_SIGNALS:
    // The loader read the header of a location block.
    void locationRead(int row, int col);
    // A location's exits, "1" or "0" each, after it was read or committed.
    void exitsChanged(int row, int col, const QString &n, const QString &s, const QString &e, const QString &w);
    // A non-blank item name to offer in the area editor's item list.
    void itemListed(const QString &name);
    // The loader read the name of item n.
    void itemNameRead(int n, const QString &name);
    // The loader read a "[MAP]" line: every ingredient list gains A to Z.
    void mapRead();
    // The loader found the rule whose result is the k-th letter.
    void ingredientsRead(int k, const QString &first, const QString &second);

private:
    QString &record(int row, int col);
    Level level() const;
    void announceExits(int row, int col);

    std::array<QString, Level::LocationCount> records;
    std::array<QString, ItemCount> names;
    std::array<bool, ItemCount> placedFlags{};
    std::array<Combo, ComboRows> combos;
    TextCodec::Encoding encoding = TextCodec::Utf8;
    // The level as the last load or save left it; its strings are shared, so
    // keeping it costs nothing until something changes.
    Level baseline;
};
