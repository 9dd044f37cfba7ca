// SPDX-License-Identifier: MIT
#include "playfromheredialog.h"

#include "itemletter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Up to this many items stand in one column; more make a second.
constexpr int ColumnLength = 13;

} // namespace

PlayFromHereDialog::PlayFromHereDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PlayFromHereDialog"));
    setWindowTitle(QStringLiteral("Play from Here"));

    auto *layout = new QVBoxLayout(this);
    prompt = new QLabel(this);
    prompt->setObjectName(QStringLiteral("promptLabel"));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    // Made in letter order, so Tab runs through them A to Z.
    itemGrid = new QGridLayout;
    for (int i = 0; i < Level::ItemCount; ++i) {
        const QChar letter(char16_t(ItemLetter::of(i)));
        items[i] = new QCheckBox(this);
        items[i]->setObjectName(QStringLiteral("item") + letter);
    }
    layout->addLayout(itemGrid);

    auto *languageRow = new QHBoxLayout;
    languageLabel = new QLabel(QStringLiteral("&Language:"), this);
    languages = new QComboBox(this);
    languages->setObjectName(QStringLiteral("languageBox"));
    languageLabel->setBuddy(languages);
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(languages, 1);
    layout->addLayout(languageRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PlayFromHereDialog::ask(GridRef location, const std::array<Text, Level::ItemCount> &names,
                             const QStringList &languageNames)
{
    at = location;
    const QString where = QString::fromStdString(at.name());
    for (QCheckBox *box : items) {
        itemGrid->removeWidget(box);
        box->hide();
        box->setChecked(false);
    }
    int shown = 0;
    for (int i = 0; i < Level::ItemCount; ++i) {
        const QString name = QString::fromStdU32String(Text(text::trimSpaces(names[i])));
        if (name.isEmpty())
            continue;
        const QChar letter(char16_t(ItemLetter::of(i)));
        items[i]->setText(QStringLiteral("%1: %2").arg(letter, name));
        // Read as "Item A, brass key", not as the article "A".
        items[i]->setAccessibleName(QStringLiteral("Item %1, %2").arg(letter, name));
        itemGrid->addWidget(items[i], shown % ColumnLength, shown / ColumnLength);
        items[i]->show();
        ++shown;
    }
    const QString start = QStringLiteral("The player starts at %1 as if walked in, but nothing there is set off.")
                              .arg(where);
    prompt->setText(start
                    + (shown ? QStringLiteral(" Items to carry:") : QStringLiteral(" The level names no items.")));
    setAccessibleDescription(prompt->text());

    languages->clear();
    languages->addItems(languageNames);
    languageLabel->setVisible(languageNames.size() > 1);
    languages->setVisible(languageNames.size() > 1);

    // The first item, else OK, so Enter starts at once.
    const auto first = std::find_if(items.begin(), items.end(), [](QCheckBox *box) { return !box->isHidden(); });
    open();
    if (first != items.end())
        (*first)->setFocus();
}

std::uint32_t PlayFromHereDialog::carried() const
{
    std::uint32_t ticked = 0;
    for (int i = 0; i < Level::ItemCount; ++i) {
        if (!items[i]->isHidden() && items[i]->isChecked())
            ticked |= 1u << i;
    }
    return ticked;
}

int PlayFromHereDialog::language() const
{
    return std::max(languages->currentIndex(), 0) + 1;
}
