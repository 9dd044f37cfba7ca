// SPDX-License-Identifier: MIT
#pragma once

#include "iconartist.h"

// How the desktop knows a running program: its windows' icon, from the icon
// theme where the program is installed or else from the icons built into it,
// and the name of its menu entry, by which a desktop matches the windows with
// the entry.
class DesktopIdentity
{
public:
    // Call once the application object exists.
    static void apply(IconArtist::Icon program);
};
