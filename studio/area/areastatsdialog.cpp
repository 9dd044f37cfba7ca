// SPDX-License-Identifier: MIT
#include "areastatsdialog.h"

#include <QListWidget>

// Placeholder until the dialog's controls are built.
AreaStatsDialog::AreaStatsDialog(LevelDocument &, Platform &, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AreaStatsDialog"));
    setWindowTitle(QStringLiteral("Area Stats"));
    auto *list3 = new QListWidget(this);
    list3->setObjectName(QStringLiteral("List3"));
    list3->hide();
}

void AreaStatsDialog::showLocation(int row, int col, bool)
{
    rowpos = row;
    colpos = col;
    show();
}

QListWidget *AreaStatsDialog::itemNames() const
{
    return findChild<QListWidget *>(QStringLiteral("List3"));
}
