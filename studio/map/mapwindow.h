// SPDX-License-Identifier: MIT
#pragma once

#include "areastatsdialog.h"
#include "itemmanagementdialog.h"
#include "leveldocument.h"

#include <QWidget>

#include <array>

class LocationButton;
class Platform;
class QLabel;

// The studio's main window: the 9 by 9 grid of location buttons under a
// heading that names the level, with "Manage Items" and "Save Level Changes"
// below. It owns the level document and the two editing dialogs, and keeps
// the buttons' colours and pictures in step with what the document reads and
// the dialogs commit.
class MapWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MapWindow(Platform &platform, QWidget *parent = nullptr);

    LevelDocument &document() { return doc; }
    AreaStatsDialog &areaStatsDialog() { return areaStats; }
    ItemManagementDialog &itemManagementDialog() { return itemManager; }

    // The heading above the grid (Label19).
    void setLevelCaption(const QString &caption);

    // Row and column 1 to 9; other values change nothing. color is 0 (black,
    // in use) or 0x8000000F (the standard button colour, not in use).
    void ButtonColor(int row, int col, quint32 color);
    quint32 buttonColor(int row, int col) const;
    // Gives the location's button the picture for its type, its items and the
    // exits n, s, e, w ("1" or "0" each).
    void showexit(int row, int col, const QString &n, const QString &s, const QString &e, const QString &w);
    // Opens the location in the area editor, unless one of the dialogs is
    // open already; that one only comes to the front.
    void roomstats(int row, int col);

    // The picture file that shows a location with this record and these exits.
    static QString pictureName(const QString &record, const QString &n, const QString &s, const QString &e,
                               const QString &w);
    // Where a picture lies: beside the program, else in the installed data.
    QString picturePath(const QString &name) const;

    // "Save Level Changes": saves, warns when the level has no start, and
    // offers to try the level in the player.
    void saveLevel();
    // "Manage Items": the item manager, while the area editor is not open.
    void manageItems();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    LocationButton *button(int row, int col) const;
    void buildGrid();
    void connectDocument();
    void bringToFront(QWidget *window);
    void launchPlayer();

    Platform &platform;
    LevelDocument doc;
    AreaStatsDialog areaStats;
    ItemManagementDialog itemManager;
    QLabel *heading = nullptr;
    std::array<LocationButton *, LevelDocument::Size * LevelDocument::Size> buttons{};
};
