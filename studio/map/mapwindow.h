// SPDX-License-Identifier: MIT
#pragma once

#include "areastatsdialog.h"
#include "checkleveldialog.h"
#include "guideopener.h"
#include "itemmanagementdialog.h"
#include "leveldocument.h"
#include "levelsaver.h"
#include "pagepublisher.h"
#include "playerlauncher.h"
#include "playfromheredialog.h"
#include "shippedfiles.h"
#include "walkthroughplayer.h"

#include <QUndoStack>
#include <QWidget>

#include <array>

class LocationButton;
class Platform;
class QLabel;

// The studio's main window: the 9 by 9 grid of location buttons under a
// heading that names the level, with "Manage Items", "Publish as Web Page…"
// "Check Level" and "Save Level Changes" below. It owns the level document, the
// two editing dialogs, the history of their commits and the "Check Level"
// window, and keeps each button's colour, picture and spoken description in
// step with the document, from which it derives them. Undo, Redo, Publish and
// Check Level are also in its context menu, with the author's guide (F1); a
// location's own context menu begins with "Play from Here" (F5).
// Saving, starting the player, publishing and opening the guide are tasks of
// their own, which its commands call.
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
    PlayFromHereDialog &playFromHereDialog() { return fromHere; }
    // Every commit of the two dialogs, to undo and redo.
    QUndoStack &history() { return edits; }

    // The heading above the grid (Label19).
    void setLevelCaption(const QString &caption);

    // Row and column 1 to 9; other values change nothing. color is 0 (black,
    // in use) or 0x8000000F (the standard button colour, not in use); the
    // document keeps the mark and the button shows it.
    void ButtonColor(int row, int col, quint32 color);
    // Gives the location's button the picture of its record: its type, its
    // items and its exits.
    void showexit(int row, int col);
    // Opens the location in the area editor, unless one of the dialogs is
    // open already; that one only comes to the front.
    void roomstats(int row, int col);

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
    // "Play the Walkthrough" of the "Check Level" window.
    void playWalkthrough();
    // "Guide" (F1): opens the author's guide in the user's browser.
    void openGuide();
    // "Play from Here": once the level file holds the level as it stands,
    // asks which items to carry, then starts the player at the location as
    // though walked into.
    void playFromHere(int row, int col);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    LocationButton *button(int row, int col) const;
    void buildHeadings();
    void buildLocations();
    void buildCommands();
    void buildActions();
    void connectDocument();
    void connectChecker();
    // An arrow key on a location: the focus moves that way, and stops at the
    // edge of the map.
    void moveFocus(LocationButton *from, Direction towards);
    // Shows what the document holds for the location: its mark and, once it
    // has one, its picture.
    void refresh(GridRef at);
    void bringToFront(QWidget *window);

    Platform &platform;
    LevelDocument doc;
    QUndoStack edits;
    AreaStatsDialog areaStats;
    ItemManagementDialog itemManager;
    CheckLevelDialog checker;
    PlayFromHereDialog fromHere;
    ShippedFiles files;
    LevelSaver saver;
    PlayerLauncher player;
    PagePublisher publisher;
    WalkthroughPlayer walkthrough;
    GuideOpener guideOpener;
    QLabel *heading = nullptr;
    std::array<LocationButton *, Level::LocationCount> buttons{};
};
