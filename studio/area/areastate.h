// SPDX-License-Identifier: MIT
#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// What the "Area Stats" dialog shows for one location, apart from its widgets:
// built from the location's record when it opens, and turned back into a record
// when the author presses "OK". Texts hold line breaks as CR LF, as records do.
struct AreaState
{
    // In the order of the dialog's type options Option1 to Option5.
    enum class Type { Start, LoadLevel, EndWin, Normal, NotUsed };
    // In the order of the path rows and of the tags in a committed record.
    enum Direction { North, South, East, West };
    static constexpr int Directions = 4;

    struct Path
    {
        bool exists = false;
        QString item; // the required item's name; blank for none
        QString lockout; // told when the player lacks the item
        friend bool operator==(const Path &, const Path &) = default;
    };

    // An entry of the item lists. The letter travels with the name, so that
    // items sharing one name keep their own letters; a null letter is looked
    // up by name.
    struct Item
    {
        QString name;
        QChar letter;
        friend bool operator==(const Item &, const Item &) = default;
    };

    struct Commit
    {
        QString record;
        QString freeItems; // "ITEM X|" for every item that now lies nowhere
        QStringList warnings; // to show the author, in order
    };

    QString narrative;
    std::array<Path, Directions> paths;
    QList<Item> itemsHere;
    QList<Item> unusedItems;
    Type type = Type::NotUsed;
    QString levelFile;
    QString levelNarrative;

    // The record with every "~" that a save left turned back into CR LF.
    static QString withLineBreaks(QString record);

    // Reads a record. names holds the item names from A on (blank for no item),
    // placed whether each item lies somewhere; inUse tells whether the map shows
    // the location as used, which is the first guess of its type.
    static AreaState open(const QString &record, const QStringList &names, const QList<bool> &placed, bool inUse);

    // The record for the dialog's state, the free-item text and the warnings.
    Commit commit(const QStringList &names) const;

    // The letter of the first item named exactly name, or a null QChar.
    static QChar letterOf(const QString &name, const QStringList &names);

    static QChar directionLetter(Direction direction);
    static QString directionName(Direction direction);
};
