// SPDX-License-Identifier: MIT
#pragma once

#include "areastate.h"

#include <QDialog>

#include <array>

class LevelDocument;
class Platform;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QUndoStack;

// "Area Stats": edits one location of the map at a time. Opened by the map's
// roomstats, which hands it the location; "OK" writes the location back to the
// document through updategrid, "Cancel" (or the window's close button, or
// Escape) only hides it. Hidden, its controls keep their contents; the next
// opening fills them all afresh from the location's record.
class AreaStatsDialog : public QDialog
{
    Q_OBJECT

public:
    AreaStatsDialog(LevelDocument &document, Platform &platform, QWidget *parent = nullptr);

    // The location being edited: row 1 to 9, column 1 to 9 (A to I).
    int rowpos = 0;
    int colpos = 0;

    // Fills the dialog from the location's record and shows it, not modal.
    // Whether the map marks the location in use is the first guess of its type.
    void showLocation(int row, int col);

    // Commits go onto history as steps the author can undo; without one they
    // go straight to the document.
    void setHistory(QUndoStack *history);

    // List3: the non-blank item names in letter order, never shown; a view of
    // the document's names.
    QListWidget *itemNames() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QGroupBox *buildTypeFrame();
    // The narrative and the two item lists.
    QLayout *buildNarrativeSide();
    QGroupBox *buildPathFrame();
    // The controls of path d (0 to 3 for north, south, east, west) in row d + 1.
    void buildPathRow(QGroupBox *pathFrame, QGridLayout *pathGrid, int d);
    QLayout *buildButtons();
    void arrange(QGroupBox *typeFrame, QLayout *left, QGroupBox *pathFrame, QLayout *buttons);
    void buildNameList();
    void orderTabs();
    void letListsMoveOnEnter();
    void connectReactions();

    // OK: writes the location back, after telling the author what looks wrong.
    void commit();
    AreaState state() const;
    void selectType(AreaState::Kind type);
    AreaState::Kind selectedType() const;
    // The type options mark the location in use or not at once.
    void markInUse(bool used);
    void fillLists(const AreaState &state);
    void listNames();
    static void moveEntry(QListWidget *from, QListWidget *to, QListWidgetItem *entry);

    LevelDocument &document;
    Platform &platform;
    QUndoStack *history = nullptr;
    // Whether the map marked the location in use when it was opened, before
    // the type options could change that.
    bool openedInUse = false;

    QPlainTextEdit *narrative = nullptr; // Text1
    QListWidget *itemsHere = nullptr; // List1
    QListWidget *unusedItems = nullptr; // List2
    QListWidget *nameList = nullptr; // List3
    std::array<QRadioButton *, 5> options{}; // Option1 to Option5
    QLineEdit *levelFile = nullptr; // Text2
    QPlainTextEdit *levelNarrative = nullptr; // Text3
    std::array<QCheckBox *, 4> exists{}; // Check1 to Check4
    std::array<QComboBox *, 4> requiredItems{}; // Combo1 to Combo4
    std::array<QPlainTextEdit *, 4> lockouts{}; // Text4 to Text7
    QPushButton *okButton = nullptr; // Command1
    QPushButton *cancelButton = nullptr; // Command2
};
