// SPDX-License-Identifier: MIT
#pragma once

#include "areastatsdialog.h"
#include "checkleveldialog.h"
#include "itemmanagementdialog.h"
#include "leveldocument.h"

#include <QUndoStack>
#include <QWidget>

#include <array>
#include <memory>

class LocationButton;
class Platform;
class QLabel;
class QTemporaryDir;

// The studio's main window: the 9 by 9 grid of location buttons under a
// heading that names the level, with "Manage Items", "Publish as Web Page…"
// "Check Level" and "Save Level Changes" below. It owns the level document, the
// two editing dialogs, the history of their commits and the "Check Level"
// window, and keeps each button's colour, picture and spoken description in
// step with the document, from which it derives them. Undo, Redo, Publish and
// Check Level are also in its context menu, with the author's guide (F1).
class MapWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MapWindow(Platform &platform, QWidget *parent = nullptr);
    ~MapWindow() override;

    LevelDocument &document() { return doc; }
    AreaStatsDialog &areaStatsDialog() { return areaStats; }
    ItemManagementDialog &itemManagementDialog() { return itemManager; }
    CheckLevelDialog &checkLevelDialog() { return checker; }
    // Every commit of the two dialogs, to undo and redo.
    QUndoStack &history() { return edits; }

    // The heading above the grid (Label19).
    void setLevelCaption(const QString &caption);

    // Row and column 1 to 9; other values change nothing. color is 0 (black,
    // in use) or 0x8000000F (the standard button colour, not in use); the
    // document keeps the mark and the button shows it.
    void ButtonColor(int row, int col, quint32 color);
    // The colour the location's button shows.
    quint32 buttonColor(int row, int col) const;
    // Gives the location's button the picture of its record: its type, its
    // items and its exits.
    void showexit(int row, int col);
    // Opens the location in the area editor, unless one of the dialogs is
    // open already; that one only comes to the front.
    void roomstats(int row, int col);

    // Where a picture lies: beside the program, else in the installed data.
    QString picturePath(const QString &name) const;

    // "Save Level Changes": saves, warns when the level has no start, and
    // offers to try the level in the player.
    void saveLevel();
    // "Manage Items": the item manager, while the area editor is not open.
    void manageItems();
    // "Publish as Web Page…": saves as "Save Level Changes" does, then writes
    // the level into the web page the author chooses.
    void publishPage();
    // "Check Level": checks the level as a save would write it now, without
    // saving, in the "Check Level" window.
    void checkLevel();
    // "Play the Walkthrough" of the "Check Level" window: once the level file
    // holds the level as checked (saved first if the author agrees), starts
    // the player on it typing the walkthrough.
    void playWalkthrough();

    // A file shipped with the programs: beside them, else in the installed
    // data; empty when neither holds it.
    QString shippedFile(const QString &name) const;

    // "Guide" (F1): opens the author's guide in the user's browser.
    void openGuide();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    LocationButton *button(int row, int col) const;
    void buildGrid();
    void buildActions();
    void connectDocument();
    // Saves with the messages of "Save Level Changes"; true when saved.
    bool saveWithWarnings();
    // Every save passes here: it asks before a file that is no level is
    // replaced, and says why a save failed. Not saved when the author says No.
    LevelDocument::SaveResult writeLevel();
    // Shows what the document holds for the location: its mark and, once it
    // has one, its picture.
    void refresh(GridRef at);
    void bringToFront(QWidget *window);
    void launchPlayer();
    QString playerProgram() const;
    // Writes the lines the player is to type into a file that lasts as long
    // as the studio runs; empty when it cannot be written.
    QString walkthroughFile(const QStringList &lines);
    // The guide's start page: built beside the programs, else installed with
    // the package's documents; empty when neither holds it.
    QString guidePage() const;

    Platform &platform;
    LevelDocument doc;
    QUndoStack edits;
    AreaStatsDialog areaStats;
    ItemManagementDialog itemManager;
    CheckLevelDialog checker;
    std::unique_ptr<QTemporaryDir> walkthroughs;
    int walkthroughCount = 0;
    QLabel *heading = nullptr;
    std::array<LocationButton *, Level::LocationCount> buttons{};
};
