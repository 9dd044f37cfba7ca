// SPDX-License-Identifier: MIT
#include "locationcommit.h"

LocationCommit::LocationCommit(LevelDocument &document, GridRef at, LocationRecord record, std::uint32_t freeItems,
                               bool markBefore)
    : document(document)
    , at(at)
    , record(std::move(record))
    , freeItems(freeItems)
    , before(document.locationState(at))
{
    before.inUse = markBefore;
    setText(QStringLiteral("Area Stats %1").arg(QString::fromStdString(at.name())));
}

void LocationCommit::redo()
{
    if (done) {
        document.restore(at, after);
        return;
    }
    // The first time through is the commit itself; what it left is what
    // every redo puts back.
    document.updategrid(at, std::move(record), freeItems);
    after = document.locationState(at);
    done = true;
}

void LocationCommit::undo()
{
    document.restore(at, before);
}
