// SPDX-License-Identifier: MIT
#pragma once

#include "leveldocument.h"

#include <QUndoCommand>

#include <functional>

// "OK" in "Item Management", as one step the author can undo and redo: the 26
// names and the rules before and after it. After an undo or a redo, shown is
// called so the dialog's boxes show what the document then holds.
class ItemsCommit : public QUndoCommand
{
public:
    using Names = std::array<Text, LevelDocument::ItemCount>;

    ItemsCommit(LevelDocument &document, Names names, std::vector<Combo> rules, std::function<void()> shown);

    void undo() override;
    void redo() override;

private:
    LevelDocument &document;
    Names namesBefore;
    std::vector<Combo> rulesBefore;
    Names namesAfter;
    std::vector<Combo> rulesAfter;
    std::function<void()> shown;
    bool done = false;
};
