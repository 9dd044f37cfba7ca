// SPDX-License-Identifier: MIT
#include "itemscommit.h"

ItemsCommit::ItemsCommit(LevelDocument &document, Names names, std::vector<Combo> rules, std::function<void()> shown)
    : document(document)
    , namesBefore(document.itemnames())
    , rulesBefore(document.combotable())
    , namesAfter(std::move(names))
    , rulesAfter(std::move(rules))
    , shown(std::move(shown))
{
    setText(QStringLiteral("Item Management"));
}

void ItemsCommit::redo()
{
    document.updateitems(namesAfter, rulesAfter);
    // The commit itself leaves the boxes as the author filled them.
    if (done && shown)
        shown();
    done = true;
}

void ItemsCommit::undo()
{
    document.updateitems(namesBefore, rulesBefore);
    if (shown)
        shown();
}
