// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class LevelDocument;
class Platform;
class QListWidget;

// "Area Stats": edits one location of the map at a time. Opened by the map's
// roomstats, which hands it the location; "OK" writes the location back to the
// document through updategrid, "Cancel" (or the window's close button) only
// hides it. Its controls keep their contents between openings.
class AreaStatsDialog : public QDialog
{
    Q_OBJECT

public:
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
};
