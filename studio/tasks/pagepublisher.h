// SPDX-License-Identifier: MIT
#pragma once

#include "shippedfiles.h"

class LevelDocument;
class LevelSaver;
class Platform;
class QWidget;

// "Publish as Web Page…": saves the level as "Save Level Changes" does, then
// writes it, with the levels it leads to and the player's language, into the
// one web page the author chooses. Nothing is saved when the page runtime is
// not installed, since nothing could be published.
class PagePublisher
{
public:
    PagePublisher(LevelDocument &document, Platform &platform, LevelSaver &saver);

    void publish(QWidget *parent);

private:
    LevelDocument &document;
    Platform &platform;
    LevelSaver &saver;
    ShippedFiles files;
};
