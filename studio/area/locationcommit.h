// SPDX-License-Identifier: MIT
#pragma once

#include "leveldocument.h"

#include <QUndoCommand>

// "OK" in "Area Stats", as one step the author can undo and redo. Undoing puts
// back the location's record, the placed flags and its picture as they were
// just before, and its mark as the area editor found it when it opened: the
// type options change the mark while the dialog is open, as part of the edit
// that "OK" ends. Redoing puts everything back as the commit left it.
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
