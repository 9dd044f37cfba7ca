// SPDX-License-Identifier: MIT
#include "itemmanagementdialog.h"

// Placeholder until the dialog's controls are built.
ItemManagementDialog::ItemManagementDialog(LevelDocument &, QListWidget &, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ItemManagementDialog"));
    setWindowTitle(QStringLiteral("Item Management"));
}

void ItemManagementDialog::buildcombo(int, const QString &comstr)
{
    pending += comstr + u'|';
}

void ItemManagementDialog::setItemName(int, const QString &) {}
void ItemManagementDialog::addLetters() {}
void ItemManagementDialog::setIngredients(int, const QString &, const QString &) {}
