// SPDX-License-Identifier: MIT
#pragma once

#include "areastate.h"

#include <QDialog>

#include <array>

class LevelDocument;
class Platform;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QRadioButton;

// "Area Stats": edits one location of the map at a time. Opened by the map's
// roomstats, which hands it the location; "OK" writes the location back to the
// document through updategrid, "Cancel" (or the window's close button, or
// Escape) only hides it. Hidden, its controls keep their contents; the next
// opening fills them all afresh from the location's record.
class AreaStatsDialog : public QDialog
{
    Q_OBJECT

public:
    // The colours the type options give the location's map button.
    static constexpr quint32 UsedColor = 0; // black
    static constexpr quint32 UnusedColor = 0x8000000F; // the standard button colour

    AreaStatsDialog(LevelDocument &document, Platform &platform, QWidget *parent = nullptr);

    // The location being edited: row 1 to 9, column 1 to 9 (A to I).
    int rowpos = 0;
    int colpos = 0;

    // Fills the dialog from the location's record and shows it, not modal.
    // inUse tells whether the location's map button is black.
    void showLocation(int row, int col, bool inUse);

    // List3: the non-blank item names in letter order, never shown; the
    // document's loader and the item manager fill it.
    QListWidget *itemNames() const;

Q_SIGNALS:
    // The type options recolour the location's map button at once (0 black,
    // 0x8000000F the standard button colour); the map repaints it.
    void colorChosen(int row, int col, quint32 color);

private:
    void buildControls();
    void connectReactions();

    // OK: writes the location back, after telling the author what looks wrong.
    void commit();
    AreaState state() const;
    void selectType(AreaState::Type type);
    AreaState::Type selectedType() const;
    void fillLists(const AreaState &state);
    static void moveEntry(QListWidget *from, QListWidget *to, QListWidgetItem *entry);
    // The item names A to Z and their placed flags, as the document holds them.
    QStringList names() const;
    QList<bool> placedFlags() const;

    LevelDocument &document;
    Platform &platform;

    QPlainTextEdit *narrative = nullptr; // Text1
    QListWidget *itemsHere = nullptr; // List1
    QListWidget *unusedItems = nullptr; // List2
    QListWidget *nameList = nullptr; // List3
    std::array<QRadioButton *, 5> options{}; // Option1 to Option5, in AreaState::Type order
    QLineEdit *levelFile = nullptr; // Text2
    QPlainTextEdit *levelNarrative = nullptr; // Text3
    std::array<QCheckBox *, AreaState::Directions> exists{}; // Check1 to Check4
    std::array<QComboBox *, AreaState::Directions> requiredItems{}; // Combo1 to Combo4
    std::array<QPlainTextEdit *, AreaState::Directions> lockouts{}; // Text4 to Text7
};
