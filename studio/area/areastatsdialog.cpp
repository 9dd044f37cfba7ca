// SPDX-License-Identifier: MIT
#include "areastatsdialog.h"

#include "leveldocument.h"
#include "locationcommit.h"
#include "platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

using Kind = AreaState::Kind;

// The type each of Option1 to Option5 selects.
constexpr std::array<Kind, 5> OptionKinds{Kind::Start, Kind::LoadLevel, Kind::End, Kind::Normal, Kind::NotUsed};

int optionOf(Kind kind)
{
    return int(std::find(OptionKinds.begin(), OptionKinds.end(), kind) - OptionKinds.begin());
}

QString toQString(TextView text)
{
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

Text toText(const QString &text)
{
    return text.toStdU32String();
}

// Records hold line breaks as CR LF; the text boxes work with bare line feeds.
QString toBox(TextView text)
{
    return toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

Text fromBox(const QPlainTextEdit *box)
{
    return toText(box->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
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

// The label beside a box names it, for a screen reader as for the eye.
QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *caption = new QLabel(text, parent);
    caption->setBuddy(buddy);
    buddy->setAccessibleName(text);
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
    selectType(Kind::NotUsed);
    connectReactions();
    connect(&document, &LevelDocument::loaded, this, &AreaStatsDialog::listNames);
    connect(&document, &LevelDocument::itemsChanged, this, &AreaStatsDialog::listNames);
    listNames();
}

void AreaStatsDialog::buildControls()
{
    QGroupBox *typeFrame = buildTypeFrame();
    QLayout *left = buildNarrativeSide();
    QGroupBox *pathFrame = buildPathFrame();
    QLayout *buttons = buildButtons();
    arrange(typeFrame, left, pathFrame, buttons);
    buildNameList();
    // Room for a few lines of narrative and a handful of items without scrolling.
    resize(920, 660);
    orderTabs();
    letListsMoveOnEnter();
}

QGroupBox *AreaStatsDialog::buildTypeFrame()
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
    for (Kind type : {Kind::NotUsed, Kind::Normal, Kind::Start, Kind::End})
        typeColumn->addWidget(options[optionOf(type)]);
    typeColumn->addStretch();

    levelFile = new QLineEdit(typeFrame);
    levelFile->setObjectName(QStringLiteral("Text2"));
    levelNarrative = textBox(QStringLiteral("Text3"), typeFrame, 3);
    levelNarrative->setMaximumHeight(levelNarrative->minimumHeight());
    auto *loadGrid = new QGridLayout;
    loadGrid->addWidget(options[optionOf(Kind::LoadLevel)], 0, 0, 1, 2);
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
    return typeFrame;
}

QLayout *AreaStatsDialog::buildNarrativeSide()
{
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
    return left;
}

QGroupBox *AreaStatsDialog::buildPathFrame()
{
    // Right half, at the top: the exit paths, one row each.
    auto *pathFrame = new QGroupBox(QStringLiteral("Exit Pathways"), this);
    pathFrame->setObjectName(QStringLiteral("Frame2"));
    auto *pathGrid = new QGridLayout(pathFrame);
    pathGrid->addWidget(new QLabel(QStringLiteral("Required Item to Pass"), pathFrame), 0, 2);
    pathGrid->addWidget(new QLabel(QStringLiteral("Lockout Narrative"), pathFrame), 0, 3);
    for (int d = 0; d < int(exists.size()); ++d)
        buildPathRow(pathFrame, pathGrid, d);
    pathGrid->setColumnStretch(3, 1);
    return pathFrame;
}

void AreaStatsDialog::buildPathRow(QGroupBox *pathFrame, QGridLayout *pathGrid, int d)
{
    const char *rowLabels[] = {"North", "South", "East", "West"};
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
    // The edit part is what takes the focus, so it carries the name too.
    const QString required = QStringLiteral("%1: Required Item to Pass").arg(QLatin1String(rowLabels[d]));
    requiredItems[d]->setAccessibleName(required);
    requiredItems[d]->lineEdit()->setAccessibleName(required);
    lockouts[d] = textBox(QStringLiteral("Text%1").arg(d + 4), pathFrame, 3);
    lockouts[d]->setMinimumWidth(lockouts[d]->fontMetrics().averageCharWidth() * 28);
    lockouts[d]->setAccessibleName(QStringLiteral("%1: Lockout Narrative").arg(QLatin1String(rowLabels[d])));

    const int row = d + 1;
    auto *rowLabel = label(QLatin1String(rowLabels[d]), exists[d], pathFrame);
    pathGrid->addWidget(rowLabel, row, 0);
    pathGrid->addWidget(exists[d], row, 1);
    pathGrid->addWidget(requiredItems[d], row, 2);
    pathGrid->addWidget(lockouts[d], row, 3);
    pathGrid->setRowStretch(row, 1);
}

QLayout *AreaStatsDialog::buildButtons()
{
    // Enter in the level file box must not commit the location by accident.
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    cancelButton->setAutoDefault(false);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &AreaStatsDialog::commit);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton);
    buttons->addWidget(okButton);
    return buttons;
}

void AreaStatsDialog::arrange(QGroupBox *typeFrame, QLayout *left, QGroupBox *pathFrame, QLayout *buttons)
{
    // The types across the top; below them the narrative side, and the paths
    // with "Cancel" and "OK" under them.
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
}

void AreaStatsDialog::buildNameList()
{
    // The item names, as the document holds them; never shown.
    nameList = new QListWidget(this);
    nameList->setObjectName(QStringLiteral("List3"));
    nameList->hide();
}

void AreaStatsDialog::orderTabs()
{
    // Tab runs as the form reads: the types in their column, the level to
    // load, the narrative and the item lists on the left, the paths row by
    // row on the right, then "Cancel" and "OK".
    QList<QWidget *> order;
    for (Kind type : {Kind::NotUsed, Kind::Normal, Kind::Start, Kind::End, Kind::LoadLevel})
        order << options[optionOf(type)];
    order << levelFile << levelNarrative << narrative << itemsHere << unusedItems;
    for (int d = 0; d < int(exists.size()); ++d)
        order << exists[d] << requiredItems[d] << lockouts[d];
    order << cancelButton << okButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void AreaStatsDialog::letListsMoveOnEnter()
{
    // Without a mouse, Enter moves the current entry as a double click does.
    for (QListWidget *list : {itemsHere, unusedItems}) {
        list->installEventFilter(this);
        list->setAccessibleDescription(QStringLiteral("Press Enter to move the current item to the other list."));
    }
}

bool AreaStatsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == itemsHere || watched == unusedItems)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto *from = static_cast<QListWidget *>(watched);
            moveEntry(from, from == itemsHere ? unusedItems : itemsHere, from->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AreaStatsDialog::setHistory(QUndoStack *stack)
{
    history = stack;
}

void AreaStatsDialog::connectReactions()
{
    connect(itemsHere, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *entry) { moveEntry(itemsHere, unusedItems, entry); });
    connect(unusedItems, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *entry) { moveEntry(unusedItems, itemsHere, entry); });

    // These run however the option comes to be selected: by the author, by the
    // opening or by the narrative rule.
    connect(options[optionOf(Kind::Normal)], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            markInUse(true);
    });
    connect(options[optionOf(Kind::NotUsed)], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            markInUse(false);
    });

    // A location that is given something to tell is in use.
    connect(narrative, &QPlainTextEdit::textChanged, this, [this] {
        if (!text::isBlank(toText(narrative->toPlainText())) && selectedType() == Kind::NotUsed)
            selectType(Kind::Normal);
    });
}

void AreaStatsDialog::showLocation(int row, int col)
{
    rowpos = row;
    colpos = col;
    const GridRef at{row, col};
    const bool inUse = document.inUse(at);
    openedInUse = inUse;

    // Every control is reset before the record fills some of them, so nothing
    // of an earlier location or of a cancelled edit shows through.
    narrative->clear();
    levelFile->clear();
    levelNarrative->clear();
    for (QPlainTextEdit *lockout : lockouts)
        lockout->clear();
    selectType(inUse ? Kind::Normal : Kind::NotUsed);
    itemsHere->clear();
    unusedItems->clear();

    // A saved record holds its line breaks as "~"; they stay line breaks in
    // the document from now on, whether or not the author commits.
    document.restoreLineBreaks(at);

    const AreaState::Names &names = document.itemnames();
    const AreaState state = AreaState::open(document.locdata(at), names, document.placed(), inUse);
    selectType(state.type);
    levelFile->setText(toQString(state.levelFile));
    levelNarrative->setPlainText(toBox(state.levelNarrative));

    QStringList offered;
    for (const Text &name : names) {
        if (!text::isBlank(name))
            offered.append(toQString(name));
    }
    for (int d = 0; d < int(requiredItems.size()); ++d) {
        const AreaState::Path &path = state.paths[d];
        requiredItems[d]->clear();
        requiredItems[d]->addItems(offered);
        requiredItems[d]->setEditText(toQString(path.item));
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

void AreaStatsDialog::listNames()
{
    nameList->clear();
    for (const Text &name : document.itemnames()) {
        if (!text::isBlank(name))
            nameList->addItem(toQString(name));
    }
}

void AreaStatsDialog::markInUse(bool used)
{
    document.setInUse({rowpos, colpos}, used);
}

void AreaStatsDialog::commit()
{
    // Only an opened location can be written back.
    const GridRef at{rowpos, colpos};
    if (at.isValid()) {
        AreaState::Commit result = state().commit(document.itemnames());
        for (const Text &warning : result.warnings)
            platform.inform(this, toQString(warning));
        auto edit = std::make_unique<LocationCommit>(document, at, std::move(result.record), result.freeItems,
                                                     openedInUse);
        if (history) {
            history->push(edit.release());
        } else {
            edit->redo();
        }
    }
    accept();
}

AreaState AreaStatsDialog::state() const
{
    AreaState state;
    state.narrative = fromBox(narrative);
    for (int d = 0; d < int(exists.size()); ++d) {
        state.paths[d].exists = exists[d]->isChecked();
        state.paths[d].item = toText(requiredItems[d]->currentText());
        state.paths[d].lockout = fromBox(lockouts[d]);
    }
    auto entries = [](const QListWidget *list) {
        std::vector<AreaState::Item> items;
        for (int i = 0; i < list->count(); ++i) {
            const QVariant letter = list->item(i)->data(Qt::UserRole);
            items.push_back({toText(list->item(i)->text()), letter.isValid() ? letter.toInt() : AreaState::Item::NoLetter});
        }
        return items;
    };
    state.itemsHere = entries(itemsHere);
    state.unusedItems = entries(unusedItems);
    state.type = selectedType();
    state.levelFile = toText(levelFile->text());
    state.levelNarrative = fromBox(levelNarrative);
    return state;
}

void AreaStatsDialog::selectType(Kind type)
{
    options[optionOf(type)]->setChecked(true);
}

AreaState::Kind AreaStatsDialog::selectedType() const
{
    for (int i = 0; i < int(options.size()); ++i) {
        if (options[i]->isChecked())
            return OptionKinds[i];
    }
    return Kind::NotUsed;
}

void AreaStatsDialog::fillLists(const AreaState &state)
{
    auto fill = [](QListWidget *list, const std::vector<AreaState::Item> &items) {
        for (const AreaState::Item &item : items) {
            auto *entry = new QListWidgetItem(toQString(item.name), list);
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
