// SPDX-License-Identifier: MIT
#pragma once

#include "leveldocument.h"

#include <QUndoCommand>

// "OK" in "Area Stats", as one step the author can undo and redo. Undoing puts
// the location back as the area editor found it when it opened: its record,
// the placed flags, its picture, and its mark, which the type options may
// have changed while the dialog was open. Redoing puts it back as the commit
// left it.
class LocationCommit : public QUndoCommand
{
public:
    // markBefore: whether the location was marked in use when the area
    // editor opened it.
    LocationCommit(LevelDocument &document, GridRef at, LocationRecord record, std::uint32_t freeItems,
                   bool markBefore);

    void undo() override;
    void redo() override;

private:
    LevelDocument &document;
    GridRef at;
    LocationRecord record;
    std::uint32_t freeItems;
    LevelDocument::LocationState before;
    LevelDocument::LocationState after;
    bool done = false;
};
