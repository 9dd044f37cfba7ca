// SPDX-License-Identifier: MIT
#include "mapwindow.h"

#include "locationbutton.h"
#include "locationpicture.h"
#include "locationsummary.h"
#include "platform.h"
#include "twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>

#include <optional>

namespace {

const QString PublishCommand = QStringLiteral("Publish as Web Page\u2026");
const QString CheckCommand = QStringLiteral("Check Level");
const QString CheckTip = QStringLiteral("Find what is wrong with the level as it stands, without saving it, and "
                                        "whether it can be won, with the shortest walkthrough");
const QString PlayFromHereTip = QStringLiteral("Start the game player at this location, carrying the items you "
                                               "choose");
const QString SaveToPlay = QStringLiteral("The player plays the level file, which does not hold the level as it "
                                          "stands yet. Save the level now and play from here?");

QFont headingFont()
{
    return Twips::font({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial")},
                       12, true);
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
              Qt::Alignment alignment)
{
    auto *made = new QLabel(caption, parent);
    made->setObjectName(name);
    made->setGeometry(geometry);
    made->setFont(headingFont());
    made->setAlignment(alignment);
    return made;
}

} // namespace

MapWindow::MapWindow(Platform &platform, QWidget *parent)
    : QWidget(parent)
    , platform(platform)
    , areaStats(doc, platform, this)
    , itemManager(doc, this)
    , checker(this)
    , fromHere(this)
    , files(platform)
    , saver(doc, platform)
    , player(platform)
    , publisher(doc, platform, saver)
    , walkthrough(doc, platform, saver, player)
    , guideOpener(platform)
{
    setObjectName(QStringLiteral("MapWindow"));
    setWindowTitle(QStringLiteral("Quillmoor Studio v1.0"));
    setFixedSize(Twips::px(10830), Twips::px(9225));
    buildHeadings();
    buildLocations();
    buildCommands();
    buildActions();
    connectDocument();
    connectChecker();
    areaStats.setHistory(&edits);
    itemManager.setHistory(&edits);
    for (int i = 0; i < Level::LocationCount; ++i)
        refresh(GridRef::fromIndex(i));
}

MapWindow::~MapWindow() = default;

void MapWindow::buildHeadings()
{
    heading = label(this, QStringLiteral("Label19"), QString(), Twips::rect(600, 120, 9855, 255),
                    Qt::AlignLeft | Qt::AlignVCenter);

    for (int k = 1; k <= GridRef::Size; ++k) {
        label(this, QStringLiteral("Label%1").arg(k), QString(QChar(u'A' + k - 1)),
              Twips::rect(720 + 1080 * (k - 1), 480, 1095, 255), Qt::AlignCenter);
    }
    // The row headings stand beside the middle of their row.
    const std::array<int, GridRef::Size> rowTops{1200, 2040, 2880, 3600, 4560, 5400, 6240, 6960, 7920};
    for (int row = 1; row <= GridRef::Size; ++row) {
        label(this, QStringLiteral("Label%1").arg(9 + row), QString::number(row), Twips::rect(240, rowTops[row - 1], 375, 375),
              Qt::AlignCenter);
    }
}

void MapWindow::buildLocations()
{
    // Created row by row, so the keyboard focus runs 1A, 1B, ... 9I, then the
    // two command buttons.
    const QFont buttonFont = Twips::font({QStringLiteral("Arial")}, 8.25, false);
    QWidget *previous = nullptr;
    for (int row = 1; row <= GridRef::Size; ++row) {
        for (int col = 1; col <= GridRef::Size; ++col) {
            auto *location = new LocationButton(row, col, this);
            const int n = GridRef::Size * (row - 1) + col;
            location->setObjectName(QStringLiteral("Command%1").arg(n));
            location->setGeometry(Twips::rect(720 + 1080 * (col - 1), 960 + 840 * (row - 1),
                                        col == GridRef::Size ? 1215 : 1095, 855));
            location->setFont(buttonFont);
            connect(location, &QPushButton::clicked, this, [this, row, col] { roomstats(row, col); });
            connect(location, &LocationButton::stepRequested, this,
                    [this, location](Direction towards) { moveFocus(location, towards); });
            buttons[n - 1] = location;
            if (previous)
                setTabOrder(previous, location);
            previous = location;
        }
    }
}

void MapWindow::moveFocus(LocationButton *from, Direction towards)
{
    // The focus stops at the edge of the map, where the key still shows
    // which location has it.
    const GridRef next = step({from->row(), from->col()}, towards);
    if (next.isValid()) {
        button(next.row, next.col)->setFocus(Qt::TabFocusReason);
    } else {
        setAttribute(Qt::WA_KeyboardFocusChange);
        from->update();
    }
}

void MapWindow::buildCommands()
{
    auto *items = new QPushButton(QStringLiteral("Manage Items"), this);
    items->setObjectName(QStringLiteral("Command82"));
    items->setGeometry(Twips::rect(720, 8640, 2175, 375));
    connect(items, &QPushButton::clicked, this, &MapWindow::manageItems);
    setTabOrder(buttons.back(), items);

    auto *save = new QPushButton(QStringLiteral("Save Level Changes"), this);
    save->setObjectName(QStringLiteral("Command83"));
    save->setGeometry(Twips::rect(8640, 8640, 1935, 375));
    connect(save, &QPushButton::clicked, this, &MapWindow::saveLevel);
    setTabOrder(items, save);

    // In the free room of the bottom row, beside "Manage Items"; the focus
    // comes to it after the commands above, which keep their order.
    auto *publish = new QPushButton(PublishCommand, this);
    publish->setObjectName(QStringLiteral("publishButton"));
    publish->setGeometry(Twips::rect(3000, 8640, 2415, 375));
    publish->setToolTip(QStringLiteral("Save the level, then write it as one web page that plays in any browser"));
    connect(publish, &QPushButton::clicked, this, &MapWindow::publishPage);
    setTabOrder(save, publish);

    // In the free room between "Publish as Web Page…" and "Save Level
    // Changes"; the focus comes to it last.
    auto *check = new QPushButton(CheckCommand, this);
    check->setObjectName(QStringLiteral("checkButton"));
    check->setGeometry(Twips::rect(5520, 8640, 1935, 375));
    check->setToolTip(CheckTip);
    check->setAccessibleName(CheckCommand);
    check->setAccessibleDescription(CheckTip);
    connect(check, &QPushButton::clicked, this, &MapWindow::checkLevel);
    setTabOrder(publish, check);
}

void MapWindow::buildActions()
{
    // Undo and Redo follow the history: enabled while there is a step to
    // take, and named after it ("Undo Area Stats 3C").
    QAction *undo = edits.createUndoAction(this, QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = edits.createRedoAction(this, QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    // Ctrl+Shift+Z on every desktop, whatever else the desktop's own keys are.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence shiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    if (!redoKeys.contains(shiftZ))
        redoKeys.prepend(shiftZ);
    redo->setShortcuts(redoKeys);

    auto *apart = new QAction(this);
    apart->setSeparator(true);
    auto *publish = new QAction(PublishCommand, this);
    publish->setObjectName(QStringLiteral("actionPublish"));
    connect(publish, &QAction::triggered, this, &MapWindow::publishPage);
    auto *check = new QAction(CheckCommand, this);
    check->setObjectName(QStringLiteral("actionCheckLevel"));
    check->setToolTip(CheckTip);
    connect(check, &QAction::triggered, this, &MapWindow::checkLevel);

    auto *beforeGuide = new QAction(this);
    beforeGuide->setSeparator(true);
    auto *guide = new QAction(QStringLiteral("Guide"), this);
    guide->setObjectName(QStringLiteral("actionGuide"));
    guide->setShortcut(QKeySequence(Qt::Key_F1));
    guide->setToolTip(QStringLiteral("Open the author's guide in your web browser"));
    connect(guide, &QAction::triggered, this, &MapWindow::openGuide);

    // Reachable without the keys too: a right click anywhere in the window,
    // or the menu key, shows them with their shortcuts.
    const QList<QAction *> windowActions{undo, redo, apart, publish, check, beforeGuide, guide};
    for (QAction *action : windowActions) {
        action->setShortcutVisibleInContextMenu(true);
        addAction(action);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // A location's menu puts what is done with it first. A right click
    // gives the location the focus before its menu opens, so the one action
    // serves all 81, and its key works only on a location.
    auto *fromHereAction = new QAction(QStringLiteral("Play from Here"), this);
    fromHereAction->setObjectName(QStringLiteral("actionPlayFromHere"));
    fromHereAction->setShortcut(QKeySequence(Qt::Key_F5));
    fromHereAction->setShortcutContext(Qt::WidgetShortcut);
    fromHereAction->setShortcutVisibleInContextMenu(true);
    fromHereAction->setToolTip(PlayFromHereTip);
    connect(fromHereAction, &QAction::triggered, this, [this] {
        if (auto *location = qobject_cast<LocationButton *>(focusWidget()))
            playFromHere(location->row(), location->col());
    });
    auto *afterFromHere = new QAction(this);
    afterFromHere->setSeparator(true);
    for (LocationButton *location : buttons) {
        location->addActions(QList<QAction *>{fromHereAction, afterFromHere} + windowActions);
        location->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    connect(&fromHere, &QDialog::accepted, this, [this] {
        player.playFrom(this, doc.levelfile, fromHere.location(), fromHere.carried(), fromHere.language());
    });
}

void MapWindow::connectDocument()
{
    connect(&doc, &LevelDocument::locationChanged, this, [this](GridRef at) {
        refresh(at);
        // The area editor's type options recolour the button while it stays
        // open, so the author sees the change at once.
        button(at.row, at.col)->repaint();
    });
    connect(&doc, &LevelDocument::loaded, this, [this] {
        // What was undone before is not part of this level.
        edits.clear();
        for (int i = 0; i < Level::LocationCount; ++i)
            refresh(GridRef::fromIndex(i));
    });
}

void MapWindow::connectChecker()
{
    connect(&checker, &CheckLevelDialog::locationChosen, this, &MapWindow::roomstats);
    connect(&checker, &CheckLevelDialog::checkAgainRequested, this, &MapWindow::checkLevel);
    connect(&checker, &CheckLevelDialog::playRequested, this, &MapWindow::playWalkthrough);
    connect(&checker, &CheckLevelDialog::playIntoRequested, this,
            [this](int deadEnd) { walkthrough.playInto(checker, deadEnd); });
}

void MapWindow::refresh(GridRef at)
{
    LocationButton *location = button(at.row, at.col);
    location->setBackColor(doc.inUse(at) ? LocationButton::InUse : LocationButton::NotInUse);
    // Only an undone commit takes a picture away again.
    if (doc.pictured(at))
        showexit(at.row, at.col);
    else
        location->clearPicture();
    const LocationRecord &record = doc.locdata(at);
    location->setAccessibleName(LocationSummary::name(at, record, doc.inUse(at)));
    location->setAccessibleDescription(LocationSummary::narrativeLine(record));
    location->setToolTip(LocationSummary::toolTip(at, record));
}

void MapWindow::setLevelCaption(const QString &caption)
{
    heading->setText(caption);
}

LocationButton *MapWindow::button(int row, int col) const
{
    const GridRef at{row, col};
    return at.isValid() ? buttons[at.index()] : nullptr;
}

void MapWindow::ButtonColor(int row, int col, quint32 color)
{
    doc.setInUse({row, col}, color == LocationButton::InUse);
}

void MapWindow::showexit(int row, int col)
{
    LocationButton *location = button(row, col);
    if (!location)
        return;
    const QString name = QString::fromStdString(LocationPicture::of(doc.locdata({row, col})).fileName());
    // A missing or unreadable picture leaves the button without one; the
    // editor works on all the same.
    const QString path = files.picture(name);
    location->setPicture(name, path.isEmpty() ? QPixmap() : QPixmap(path));
}

void MapWindow::bringToFront(QWidget *window)
{
    window->raise();
    window->activateWindow();
}

void MapWindow::roomstats(int row, int col)
{
    if (!button(row, col))
        return;
    // The two dialogs are never open together, and the area editor stays on
    // the location it shows until it is closed.
    if (itemManager.isVisible()) {
        bringToFront(&itemManager);
        return;
    }
    if (areaStats.isVisible()) {
        bringToFront(&areaStats);
        return;
    }
    areaStats.showLocation(row, col);
}

void MapWindow::manageItems()
{
    if (areaStats.isVisible())
        return;
    itemManager.show();
    bringToFront(&itemManager);
}

void MapWindow::saveLevel()
{
    if (saver.saveAndOfferTest(this))
        player.test(this, doc.levelfile);
}

void MapWindow::publishPage()
{
    publisher.publish(this);
}

void MapWindow::checkLevel()
{
    // The level as the author sees it, named by its own path so that the
    // levels it chains to are found as the player finds them, in the
    // language the player would take.
    checker.check(doc.bytesToSave(), doc.levelfile, files.language());
    checker.show();
    bringToFront(&checker);
}

void MapWindow::playWalkthrough()
{
    walkthrough.play(checker);
}

void MapWindow::openGuide()
{
    guideOpener.open(this);
}

void MapWindow::playFromHere(int row, int col)
{
    const GridRef at{row, col};
    if (!at.isValid())
        return;
    if (doc.locdata(at).isBlank()) {
        platform.inform(this, QStringLiteral("Location %1 is empty, so the level has nothing there to play from.")
                                  .arg(QString::fromStdString(at.name())));
        return;
    }
    if (!saver.saveBeforePlaying(this, SaveToPlay))
        return;
    if (const std::optional<QStringList> languages = player.languages(this))
        fromHere.ask(at, doc.itemnames(), *languages);
}

void MapWindow::closeEvent(QCloseEvent *event)
{
    if (!saver.mayClose(this)) {
        event->ignore();
        return;
    }
    // The studio ends with its main window; the dialogs go with it.
    areaStats.hide();
    itemManager.hide();
    checker.hide();
    fromHere.hide();
    event->accept();
}
