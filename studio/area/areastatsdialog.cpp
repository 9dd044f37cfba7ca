// SPDX-License-Identifier: MIT
#include "areastatsdialog.h"

#include "leveldocument.h"
#include "levelformat.h"
#include "platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Records hold line breaks as CR LF; the text boxes work with bare line feeds.
QString toBox(QString text)
{
    return text.replace(LevelFormat::LineBreak, QStringLiteral("\n")).replace(u'\r', u'\n');
}

QString fromBox(const QPlainTextEdit *box)
{
    return box->toPlainText().replace(u'\n', LevelFormat::LineBreak);
}

// A multi-line box that shows at least the given number of lines.
QPlainTextEdit *textBox(const QString &name, QWidget *parent, int lines)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    // Tab moves on to the next control, as it does everywhere else in the form.
    box->setTabChangesFocus(true);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * lines + 2 * (box->frameWidth() + 4));
    return box;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *caption = new QLabel(text, parent);
    caption->setBuddy(buddy);
    return caption;
}

} // namespace

AreaStatsDialog::AreaStatsDialog(LevelDocument &document, Platform &platform, QWidget *parent)
    : QDialog(parent)
    , document(document)
    , platform(platform)
{
    setObjectName(QStringLiteral("AreaStatsDialog"));
    setWindowTitle(QStringLiteral("Area Stats"));
    setModal(false);
    buildControls();
    // One option is always selected; nothing is edited yet, so no colour follows.
    options[int(AreaState::Type::NotUsed)]->setChecked(true);
    connectReactions();
}

void AreaStatsDialog::buildControls()
{
    // Area Type, across the top.
    auto *typeFrame = new QGroupBox(QStringLiteral("Area Type"), this);
    typeFrame->setObjectName(QStringLiteral("Frame1"));
    const char *captions[] = {"Start", "Load New Level  (specify below)", "End/Win", "Normal/Used", "Not Used"};
    for (int i = 0; i < int(options.size()); ++i) {
        options[i] = new QRadioButton(QLatin1String(captions[i]), typeFrame);
        options[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
    }
    auto *typeColumn = new QVBoxLayout;
    for (AreaState::Type type : {AreaState::Type::NotUsed, AreaState::Type::Normal, AreaState::Type::Start,
                                 AreaState::Type::EndWin})
        typeColumn->addWidget(options[int(type)]);
    typeColumn->addStretch();

    levelFile = new QLineEdit(typeFrame);
    levelFile->setObjectName(QStringLiteral("Text2"));
    levelNarrative = textBox(QStringLiteral("Text3"), typeFrame, 3);
    levelNarrative->setMaximumHeight(levelNarrative->minimumHeight());
    auto *loadGrid = new QGridLayout;
    loadGrid->addWidget(options[int(AreaState::Type::LoadLevel)], 0, 0, 1, 2);
    loadGrid->addWidget(label(QStringLiteral("Level File"), levelFile, typeFrame), 1, 0);
    loadGrid->addWidget(label(QStringLiteral("New Level Narrative"), levelNarrative, typeFrame), 1, 1);
    loadGrid->addWidget(levelFile, 2, 0, Qt::AlignTop);
    loadGrid->addWidget(levelNarrative, 2, 1);
    loadGrid->setColumnStretch(0, 2);
    loadGrid->setColumnStretch(1, 3);

    auto *typeLayout = new QHBoxLayout(typeFrame);
    typeLayout->addLayout(typeColumn);
    typeLayout->addSpacing(24);
    typeLayout->addLayout(loadGrid, 1);

    // Left half: the narrative and the two item lists.
    narrative = textBox(QStringLiteral("Text1"), this, 8);
    itemsHere = new QListWidget(this);
    itemsHere->setObjectName(QStringLiteral("List1"));
    unusedItems = new QListWidget(this);
    unusedItems->setObjectName(QStringLiteral("List2"));
    auto *listGrid = new QGridLayout;
    auto *hereLabel = label(QStringLiteral("Items in Area (Dbl Click to remove)"), itemsHere, this);
    auto *unusedLabel = label(QStringLiteral("Unused Items (Dbl Click to add)"), unusedItems, this);
    listGrid->addWidget(hereLabel, 0, 0);
    listGrid->addWidget(unusedLabel, 0, 1);
    listGrid->addWidget(itemsHere, 1, 0);
    listGrid->addWidget(unusedItems, 1, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(label(QStringLiteral("Area Narrative"), narrative, this));
    left->addWidget(narrative, 3);
    left->addLayout(listGrid, 2);

    // Right half: the exit paths, then Cancel and OK.
    auto *pathFrame = new QGroupBox(QStringLiteral("Exit Pathways"), this);
    pathFrame->setObjectName(QStringLiteral("Frame2"));
    auto *pathGrid = new QGridLayout(pathFrame);
    pathGrid->addWidget(new QLabel(QStringLiteral("Required Item to Pass"), pathFrame), 0, 2);
    pathGrid->addWidget(new QLabel(QStringLiteral("Lockout Narrative"), pathFrame), 0, 3);
    const char *rowLabels[] = {"North", "South", "East", "West"};
    for (int d = 0; d < AreaState::Directions; ++d) {
        exists[d] = new QCheckBox(pathFrame);
        exists[d]->setObjectName(QStringLiteral("Check%1").arg(d + 1));
        exists[d]->setAccessibleName(QLatin1String(rowLabels[d]));
        requiredItems[d] = new QComboBox(pathFrame);
        requiredItems[d]->setObjectName(QStringLiteral("Combo%1").arg(d + 1));
        requiredItems[d]->setEditable(true);
        // Typing a name chooses it; it does not add to the names offered.
        requiredItems[d]->setInsertPolicy(QComboBox::NoInsert);
        // The name is taken exactly as typed: a completion would turn "key"
        // into "keyring" when both are items.
        requiredItems[d]->setCompleter(nullptr);
        requiredItems[d]->setMinimumContentsLength(12);
        requiredItems[d]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lockouts[d] = textBox(QStringLiteral("Text%1").arg(d + 4), pathFrame, 3);
        lockouts[d]->setMinimumWidth(lockouts[d]->fontMetrics().averageCharWidth() * 28);

        const int row = d + 1;
        auto *rowLabel = label(QLatin1String(rowLabels[d]), exists[d], pathFrame);
        pathGrid->addWidget(rowLabel, row, 0);
        pathGrid->addWidget(exists[d], row, 1);
        pathGrid->addWidget(requiredItems[d], row, 2);
        pathGrid->addWidget(lockouts[d], row, 3);
        pathGrid->setRowStretch(row, 1);
    }
    pathGrid->setColumnStretch(3, 1);

    // Enter in the level file box must not commit the location by accident.
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAutoDefault(false);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto *right = new QVBoxLayout;
    right->addWidget(pathFrame, 1);
    right->addLayout(buttons);

    auto *halves = new QHBoxLayout;
    halves->addLayout(left, 1);
    halves->addSpacing(8);
    halves->addLayout(right, 1);

    auto *page = new QVBoxLayout(this);
    page->addWidget(typeFrame);
    page->addLayout(halves, 1);

    // The item names the loader and the item manager hand in; never shown.
    nameList = new QListWidget(this);
    nameList->setObjectName(QStringLiteral("List3"));
    nameList->hide();

    // Room for a few lines of narrative and a handful of items without scrolling.
    resize(920, 660);

    connect(ok, &QPushButton::clicked, this, &AreaStatsDialog::commit);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AreaStatsDialog::connectReactions()
{
    connect(itemsHere, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *entry) { moveEntry(itemsHere, unusedItems, entry); });
    connect(unusedItems, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *entry) { moveEntry(unusedItems, itemsHere, entry); });

    // These run however the option comes to be selected: by the author, by the
    // opening or by the narrative rule.
    connect(options[int(AreaState::Type::Normal)], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT colorChosen(rowpos, colpos, UsedColor);
    });
    connect(options[int(AreaState::Type::NotUsed)], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT colorChosen(rowpos, colpos, UnusedColor);
    });

    // A location that is given something to tell is in use.
    connect(narrative, &QPlainTextEdit::textChanged, this, [this] {
        if (!LevelFormat::isBlank(narrative->toPlainText()) && selectedType() == AreaState::Type::NotUsed)
            selectType(AreaState::Type::Normal);
    });
}

void AreaStatsDialog::showLocation(int row, int col, bool inUse)
{
    rowpos = row;
    colpos = col;

    // Every control is reset before the record fills some of them, so nothing
    // of an earlier location or of a cancelled edit shows through.
    narrative->clear();
    levelFile->clear();
    levelNarrative->clear();
    for (QPlainTextEdit *lockout : lockouts)
        lockout->clear();
    selectType(inUse ? AreaState::Type::Normal : AreaState::Type::NotUsed);
    itemsHere->clear();
    unusedItems->clear();

    // A saved record holds its line breaks as "~"; they stay line breaks in
    // the document from now on, whether or not the author commits.
    const QString &stored = document.locdata(row, col);
    const QString record = AreaState::withLineBreaks(stored);
    if (record != stored)
        document.setLocdata(row, col, record);

    const QStringList itemNames = names();
    const AreaState state = AreaState::open(record, itemNames, placedFlags(), inUse);
    selectType(state.type);
    levelFile->setText(state.levelFile);
    levelNarrative->setPlainText(toBox(state.levelNarrative));

    QStringList offered;
    for (const QString &name : itemNames) {
        if (!LevelFormat::isBlank(name))
            offered.append(name);
    }
    for (int d = 0; d < AreaState::Directions; ++d) {
        const AreaState::Path &path = state.paths[d];
        requiredItems[d]->clear();
        requiredItems[d]->addItems(offered);
        requiredItems[d]->setEditText(path.item);
        exists[d]->setChecked(path.exists);
        lockouts[d]->setPlainText(toBox(path.lockout));
    }

    fillLists(state);
    narrative->setPlainText(toBox(state.narrative));

    show();
    raise();
    activateWindow();
}

QListWidget *AreaStatsDialog::itemNames() const
{
    return nameList;
}

void AreaStatsDialog::commit()
{
    // Only an opened location can be written back.
    if (GridRef{rowpos, colpos}.isValid()) {
        const AreaState::Commit result = state().commit(names());
        for (const QString &warning : result.warnings)
            platform.inform(this, warning);
        document.updategrid(rowpos, colpos, result.record, result.freeItems);
    }
    accept();
}

AreaState AreaStatsDialog::state() const
{
    AreaState state;
    state.narrative = fromBox(narrative);
    for (int d = 0; d < AreaState::Directions; ++d) {
        state.paths[d].exists = exists[d]->isChecked();
        state.paths[d].item = requiredItems[d]->currentText();
        state.paths[d].lockout = fromBox(lockouts[d]);
    }
    auto entries = [](const QListWidget *list) {
        QList<AreaState::Item> items;
        for (int i = 0; i < list->count(); ++i)
            items.append({list->item(i)->text(), list->item(i)->data(Qt::UserRole).toChar()});
        return items;
    };
    state.itemsHere = entries(itemsHere);
    state.unusedItems = entries(unusedItems);
    state.type = selectedType();
    state.levelFile = levelFile->text();
    state.levelNarrative = fromBox(levelNarrative);
    return state;
}

void AreaStatsDialog::selectType(AreaState::Type type)
{
    options[int(type)]->setChecked(true);
}

AreaState::Type AreaStatsDialog::selectedType() const
{
    for (int i = 0; i < int(options.size()); ++i) {
        if (options[i]->isChecked())
            return AreaState::Type(i);
    }
    return AreaState::Type::NotUsed;
}

void AreaStatsDialog::fillLists(const AreaState &state)
{
    auto fill = [](QListWidget *list, const QList<AreaState::Item> &items) {
        for (const AreaState::Item &item : items) {
            auto *entry = new QListWidgetItem(item.name, list);
            entry->setData(Qt::UserRole, item.letter);
        }
    };
    fill(itemsHere, state.itemsHere);
    fill(unusedItems, state.unusedItems);
}

void AreaStatsDialog::moveEntry(QListWidget *from, QListWidget *to, QListWidgetItem *entry)
{
    if (!entry)
        return;
    // The entry itself moves, so the item's letter goes with its name.
    to->addItem(from->takeItem(from->row(entry)));
}

QStringList AreaStatsDialog::names() const
{
    QStringList result;
    for (int n = 1; n <= LevelDocument::ItemCount; ++n)
        result.append(document.itemnames(n));
    return result;
}

QList<bool> AreaStatsDialog::placedFlags() const
{
    QList<bool> result;
    for (int n = 1; n <= LevelDocument::ItemCount; ++n)
        result.append(document.placed(n));
    return result;
}
