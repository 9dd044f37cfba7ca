// SPDX-License-Identifier: MIT
#pragma once

#include "checkreport.h"
#include "levellint.h"
#include "levelreader.h"
#include "winsearch.h"

#include <vector>

// What no play from the start reaches in one level file, as a search of
// every reachable state finds it: the locations no play enters, the items
// none carries, the rules none fires. The lint guesses some of it from the
// file alone; what it has said is not said again.
class UnreachedContent
{
public:
    // met: what play met of the level; nothing when no play loads it.
    UnreachedContent(const LevelReader::Result &read, const WinSearch::Met *met, const LevelLint::NeverPlayed &said);

    const CheckReport::Unreached &list() const { return found; }
    // A warning for each thing the lint has not said already.
    const std::vector<Problem> &problems() const { return warnings; }

private:
    CheckReport::Unreached found;
    std::vector<Problem> warnings;
};
