// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"

#include <QDialog>

#include <array>
#include <vector>

class LevelDocument;
class QComboBox;
class QLineEdit;
class QUndoStack;

// "Item Management": the 26 item names and, for each item, the two items it is
// created from. "OK" hands all names and rules to the document through
// updateitems; "Cancel" (or the window's close button) only hides it. The
// boxes are filled from the document when a level file is read, and otherwise
// keep what the author put in them between openings.
class ItemManagementDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Rows = 26;

    explicit ItemManagementDialog(LevelDocument &document, QWidget *parent = nullptr);

    // The rules built by "OK", in the order of their rows.
    std::vector<Combo> pending;
    // Adds the rule of one row to the pending rules; numl is the row 1 to 26.
    void buildcombo(int numl, const Combo &rule);

    // "OK" goes onto history as a step the author can undo; without one it
    // goes straight to the document.
    void setHistory(QUndoStack *history);
    // Every box shows the document's names and rules, as after an undo.
    void showDocumentItems();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commit();
    // What a level file read puts into the boxes.
    void fillFromDocument();
    void showRules(const std::vector<Combo> &rules);
    void setItemName(int n, const QString &name); // Text n, 1 to 26
    void addLetters(); // A to Z appended to all 52 ingredient lists
    void setIngredients(int k, const QString &first, const QString &second); // Combo k and 26 + k
    void addLabel(const QString &name, const QString &caption, const QRect &twips, Qt::Alignment alignment,
                  bool bold);
    QLineEdit *addNameBox(int k, int top);
    QComboBox *addIngredientBox(int n, int left, int top);

    LevelDocument &document;
    QUndoStack *history = nullptr;
    std::array<QLineEdit *, Rows> names{};
    // Combo1 to Combo26 hold first ingredients, Combo27 to Combo52 second ones.
    std::array<QComboBox *, 2 * Rows> ingredients{};
};
