// SPDX-License-Identifier: MIT
#pragma once

#include "mapwindow.h"

#include <QDialog>

#include <memory>

class Platform;
class QLabel;
class QLayout;
class QLineEdit;

// The studio's first window: the author names the level file to edit or to
// create. "Continue" reads an existing file into the map window's document, or
// starts a new level under that name, then hands over to the map window for the
// rest of the run. Closing it before that ends the studio. The map window and
// its dialogs are built only on "Continue", so the studio opens at once.
class StartDialog : public QDialog
{
    Q_OBJECT

public:
    explicit StartDialog(Platform &platform, QWidget *parent = nullptr);

    // The map window, once "Continue" has built it; null before.
    MapWindow *mapWindow() { return map.get(); }

    // Whether filename can be opened for reading; never reports an error.
    static bool isfile(const QString &filename);

    // "...": the file-open dialog puts the chosen path into Text1.
    void browse();
    // "Continue".
    void openLevel();
    // Opens the level named on the studio's command line as "Continue" does
    // with that name typed, except that a file that exists is never offered
    // the ".qw" extension. True when the map window opened; otherwise the
    // name is in Text1 and the author was told why.
    bool openFromCommandLine(const QString &path);

private:
    // The picture, the title and the two lines about the studio.
    QLayout *buildIntroduction();
    // Text1, named by the prompt above it, and "..." beside it.
    QLayout *buildNameEntry(QLabel *prompt);
    QLayout *buildContinue();
    void arrange(QLayout *introduction, QLabel *prompt, QLayout *entry, QLayout *buttons);
    // The ".qw" question of "Continue".
    void offerExtension();
    // "Continue" once the name is settled; typed is Text1 as it stands. True
    // when the map window opened.
    bool open(const QString &typed);
    MapWindow &buildMap();

    Platform &platform;
    std::unique_ptr<MapWindow> map;
    QLineEdit *fileName = nullptr;
};
