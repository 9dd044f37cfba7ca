// SPDX-License-Identifier: MIT
#pragma once

#include "shippedfiles.h"

class Platform;
class QWidget;

// "Guide" (F1): opens the author's guide in the user's browser, or says where
// it lies, or how to build it, over the window given as parent.
class GuideOpener
{
public:
    explicit GuideOpener(Platform &platform);

    void open(QWidget *parent);

private:
    Platform &platform;
    ShippedFiles files;
};
