// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include <array>

class LevelDocument;
class QComboBox;
class QLineEdit;
class QListWidget;

// "Item Management": the 26 item names and, for each item, the two items it is
// created from. "OK" hands all names and rules to the document through
// updateitems; "Cancel" (or the window's close button) only hides it. The
// boxes keep what the loader or the author put in them between openings.
class ItemManagementDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Rows = 26;

    // nameList is the area editor's List3, emptied by "OK" before the names
    // are handed on.
    ItemManagementDialog(LevelDocument &document, QListWidget &nameList, QWidget *parent = nullptr);

    // The ComboString built by "OK": "A+B=C|" per rule.
    QString pending;
    // Adds one rule token to the pending ComboString; numl is the row 1 to 26.
    void buildcombo(int numl, const QString &comstr);

    // What the loader fills in.
    void setItemName(int n, const QString &name); // Text n, 1 to 26
    void addLetters(); // A to Z appended to all 52 ingredient lists
    void setIngredients(int k, const QString &first, const QString &second); // Combo k and 26 + k

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commit();
    void addLabel(const QString &name, const QString &caption, const QRect &twips, Qt::Alignment alignment,
                  bool bold);
    QLineEdit *addNameBox(int k, int top);
    QComboBox *addIngredientBox(int n, int left, int top);

    LevelDocument &document;
    QListWidget &nameList;
    std::array<QLineEdit *, Rows> names{};
    // Combo1 to Combo26 hold first ingredients, Combo27 to Combo52 second ones.
    std::array<QComboBox *, 2 * Rows> ingredients{};
};
