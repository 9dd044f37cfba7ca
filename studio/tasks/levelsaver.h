// SPDX-License-Identifier: MIT
#pragma once

#include "leveldocument.h"

class Platform;
class QWidget;

// Every save the studio makes, with what the author is asked and told: a file
// that held no level is replaced only when the author says so, a failed save
// says why, and a level without a start is saved with a warning. Messages
// open over the window given as parent.
class LevelSaver
{
public:
    LevelSaver(LevelDocument &document, Platform &platform);

    // Saves, then warns when the level has no start; false when nothing was
    // saved, because the save failed or the author said No.
    bool saveWithWarnings(QWidget *parent);
    // "Save Level Changes": saves with the warnings, then asks whether to try
    // the level in the player; true for Yes.
    bool saveAndOfferTest(QWidget *parent);
    // Before the player plays the level file: true when the file holds the
    // level as it stands, already or once saved after the author answered
    // Yes to question. No warning: a level played from one of its
    // locations needs no start.
    bool saveBeforePlaying(QWidget *parent, const QString &question);
    // As the studio closes: offers to save changes not saved yet. False when
    // the studio should stay open, because the author cancelled or the save
    // failed, which closing now would lose.
    bool mayClose(QWidget *parent);

private:
    // Every save passes here: it asks before a file that is no level is
    // replaced, and says why a save failed.
    LevelDocument::SaveResult write(QWidget *parent);

    LevelDocument &document;
    Platform &platform;
};
