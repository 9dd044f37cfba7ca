// SPDX-License-Identifier: MIT
#include "mapwindow.h"

#include "buildinfo.h"
#include "filebytes.h"
#include "gameerror.h"
#include "languagetable.h"
#include "locationbutton.h"
#include "locationpicture.h"
#include "locationsummary.h"
#include "platform.h"
#include "publisher.h"
#include "twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString NoStartWarning
    = QStringLiteral("Warning This Level has no start position - please assign a Start room before testing.");
const QString TestQuestion = QStringLiteral("Level Data Saved. Do you want to test your game?");
const QString PlayerProgram = QStringLiteral("quillmoorplayer");
const QString PublishCommand = QStringLiteral("Publish as Web Page\u2026");
const QString PageRuntime = QStringLiteral("web/quillmoorpage.html");
const QString CheckCommand = QStringLiteral("Check Level");
const QString CheckTip = QStringLiteral("Find what is wrong with the level as it stands, without saving it, and "
                                        "whether it can be won, with the shortest walkthrough");

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

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
{
    setObjectName(QStringLiteral("MapWindow"));
    setWindowTitle(QStringLiteral("Quillmoor Studio v1.0"));
    setFixedSize(Twips::px(10830), Twips::px(9225));
    buildGrid();
    buildActions();
    connectDocument();
    areaStats.setHistory(&edits);
    itemManager.setHistory(&edits);
    for (int i = 0; i < Level::LocationCount; ++i)
        refresh(GridRef::fromIndex(i));
    connect(&checker, &CheckLevelDialog::locationChosen, this, &MapWindow::roomstats);
    connect(&checker, &CheckLevelDialog::checkAgainRequested, this, &MapWindow::checkLevel);
    connect(&checker, &CheckLevelDialog::playRequested, this, &MapWindow::playWalkthrough);
}

MapWindow::~MapWindow() = default;

void MapWindow::buildGrid()
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
            connect(location, &LocationButton::stepRequested, this, [this, location, row, col](Direction towards) {
                // The focus stops at the edge of the map, where the key
                // still shows which location has it.
                const GridRef next = step({row, col}, towards);
                if (next.isValid()) {
                    button(next.row, next.col)->setFocus(Qt::TabFocusReason);
                } else {
                    setAttribute(Qt::WA_KeyboardFocusChange);
                    location->update();
                }
            });
            buttons[n - 1] = location;
            if (previous)
                setTabOrder(previous, location);
            previous = location;
        }
    }

    auto *items = new QPushButton(QStringLiteral("Manage Items"), this);
    items->setObjectName(QStringLiteral("Command82"));
    items->setGeometry(Twips::rect(720, 8640, 2175, 375));
    connect(items, &QPushButton::clicked, this, &MapWindow::manageItems);
    setTabOrder(previous, items);

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
    for (QAction *action : {undo, redo, apart, publish, check, beforeGuide, guide}) {
        action->setShortcutVisibleInContextMenu(true);
        addAction(action);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
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

quint32 MapWindow::buttonColor(int row, int col) const
{
    const LocationButton *location = button(row, col);
    return location ? location->backColor() : LocationButton::NotInUse;
}

QString MapWindow::picturePath(const QString &name) const
{
    const QDir folder(platform.programFolder());
    const QString beside = folder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed
        = QDir::cleanPath(folder.filePath(QStringLiteral(QUILLMOOR_DATA_FROM_BIN "/pictures/") + name));
    return QFileInfo::exists(installed) ? installed : QString();
}

void MapWindow::showexit(int row, int col)
{
    LocationButton *location = button(row, col);
    if (!location)
        return;
    const QString name = QString::fromStdString(LocationPicture::of(doc.locdata({row, col})).fileName());
    // A missing or unreadable picture leaves the button without one; the
    // editor works on all the same.
    const QString path = picturePath(name);
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
    if (saveWithWarnings() && platform.ask(this, TestQuestion))
        launchPlayer();
}

bool MapWindow::saveWithWarnings()
{
    const LevelDocument::SaveResult result = writeLevel();
    // After a failed or declined save there is nothing saved to test or publish.
    if (!result.saved)
        return false;
    if (!result.hasStart)
        platform.inform(this, NoStartWarning);
    return true;
}

LevelDocument::SaveResult MapWindow::writeLevel()
{
    // A file that held no level when it was opened is something else of the
    // author's: it is replaced only once the author says so. Asked before the
    // save, which rewrites the records in memory, so No leaves the edits
    // exactly as they were.
    const QString question = QStringLiteral("\"%1\" is not a Quillmoor level. Replace it?").arg(doc.levelfile);
    if (doc.replacesNonLevel() && !platform.askDefaultNo(this, question))
        return {};
    const LevelDocument::SaveResult result = doc.save();
    if (!result.saved)
        platform.inform(this, result.error);
    return result;
}

QString MapWindow::shippedFile(const QString &name) const
{
    const QDir folder(platform.programFolder());
    const QString beside = folder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(folder.filePath(QStringLiteral(QUILLMOOR_DATA_FROM_BIN "/") + name));
    return QFileInfo::exists(installed) ? installed : QString();
}

QString MapWindow::guidePage() const
{
    const QDir folder(platform.programFolder());
    const QString start = QStringLiteral("index.html");
    for (const QString &place : {QStringLiteral("guide"), QStringLiteral(QUILLMOOR_GUIDE_FROM_BIN)}) {
        const QString page = QDir::cleanPath(folder.filePath(place + u'/' + start));
        if (QFileInfo::exists(page))
            return page;
    }
    return QString();
}

void MapWindow::openGuide()
{
    const QString page = guidePage();
    if (page.isEmpty()) {
        platform.inform(this, QStringLiteral("The author's guide is not installed with the studio. From the "
                                             "Quillmoor source folder, \"./run guide\" builds it."));
        return;
    }
    if (!platform.openUrl(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath())))
        platform.inform(this, QStringLiteral("No web browser could be started to show the author's guide. Open "
                                             "\"%1\" in any browser.")
                                  .arg(QDir::toNativeSeparators(page)));
}

void MapWindow::publishPage()
{
    // Without the page runtime nothing could be published: say so before
    // anything is saved.
    const QString runtime = shippedFile(PageRuntime);
    if (runtime.isEmpty()) {
        platform.inform(this, QStringLiteral("The level cannot be published as a web page: the page runtime "
                                             "\"%1\" is not installed with the studio. It is built with the "
                                             "programs where emscripten is installed.")
                                  .arg(PageRuntime));
        return;
    }
    // The page holds the level as it is on disk.
    if (!saveWithWarnings())
        return;

    const QString suggested
        = QFileInfo(QFile::decodeName(Publisher::defaultOutput(localPath(doc.levelfile)).c_str())).absoluteFilePath();
    const QString target = platform.saveFile(this, QStringLiteral("Publish as Web Page"),
                                             QStringLiteral("Web pages (*.html)"), suggested);
    if (target.isEmpty())
        return;

    // The level goes in as the player would be given it, relative to the
    // current folder; the levels it leads to are found from there.
    Publisher::Job job;
    job.level = localPath(doc.levelfile);
    job.output = localPath(target);
    job.runtime = localPath(runtime);
    const QString language = shippedFile(QStringLiteral("Language.txt"));
    if (!language.isEmpty())
        job.languageFile = localPath(language);
    const Publisher::Result result = Publisher::publish(job);
    if (!result.ok()) {
        platform.inform(this, QString::fromStdString(result.error));
        return;
    }
    platform.inform(this, QStringLiteral("The level is published as the web page \"%1\". Open it in any browser "
                                         "to play it.")
                              .arg(QDir::toNativeSeparators(target)));
}

QString MapWindow::playerProgram() const
{
    // The player lies beside the studio.
    return QDir(platform.programFolder()).filePath(PlayerProgram);
}

void MapWindow::launchPlayer()
{
    // The player gets the level path untouched by any shell. "--" ends the
    // player's options, so a level whose name starts with "-" is still taken
    // for the level.
    QString error;
    if (!platform.startProgram(playerProgram(), {QStringLiteral("--"), doc.levelfile}, &error)) {
        platform.inform(this, QStringLiteral("The level is saved, but the game player could not be started "
                                             "to test it.\n%1")
                                  .arg(error));
    }
}

void MapWindow::checkLevel()
{
    // The level as the author sees it, named by its own path so that the
    // levels it chains to are found as the player finds them, in the
    // language the player would take.
    checker.check(doc.bytesToSave(), doc.levelfile, shippedFile(QStringLiteral("Language.txt")));
    checker.show();
    bringToFront(&checker);
}

void MapWindow::playWalkthrough()
{
    const std::optional<CheckReport> &report = checker.report();
    if (!report || !report->failure.empty() || report->winnable != true)
        return;
    // The walkthrough wins the level as it was checked, and the player plays
    // the file: both must still be that level.
    if (doc.bytesToSave() != checker.checkedBytes() || doc.levelfile != checker.checkedPath()) {
        platform.inform(&checker, QStringLiteral("The level has changed since it was checked, so the walkthrough may "
                                                 "no longer win it. Press \"Check Again\", then play the "
                                                 "walkthrough."));
        return;
    }
    if (FileBytes::read(localPath(doc.levelfile), nullptr) != checker.checkedBytes()) {
        if (!platform.ask(&checker, QStringLiteral("The player plays the level file, which does not hold the level "
                                                   "as checked yet. Save the level now and play the walkthrough?")))
            return;
        if (!saveWithWarnings())
            return;
    }

    QStringList lines;
    // With several languages the player first asks for one: the check played
    // the first.
    try {
        if (LanguageTable::readFile(localPath(checker.checkedLanguage())).count() > 1)
            lines << QStringLiteral("1");
    } catch (const GameError &) {
        // The player says itself what is wrong with its language file.
    }
    for (const std::string &command : report->walkthrough)
        lines << QString::fromStdString(command);
    const QString file = walkthroughFile(lines);
    if (file.isEmpty())
        return;
    QString error;
    if (!platform.startProgram(playerProgram(),
                               {QStringLiteral("--walkthrough"), file, QStringLiteral("--"), doc.levelfile}, &error)) {
        platform.inform(&checker, QStringLiteral("The game player could not be started to play the walkthrough.\n%1")
                                      .arg(error));
    }
}

QString MapWindow::walkthroughFile(const QStringList &lines)
{
    // The player reads the file as it starts, which may be after this
    // returns; each play keeps its own file until the studio ends.
    if (!walkthroughs)
        walkthroughs = std::make_unique<QTemporaryDir>();
    QString why = walkthroughs->errorString();
    if (walkthroughs->isValid()) {
        const QString path = walkthroughs->filePath(QStringLiteral("walkthrough-%1.txt").arg(++walkthroughCount));
        QSaveFile file(path);
        const QByteArray text = lines.isEmpty() ? QByteArray() : (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
            return path;
        why = file.errorString();
    }
    platform.inform(&checker, QStringLiteral("The walkthrough could not be written for the player: %1.").arg(why));
    return QString();
}

void MapWindow::closeEvent(QCloseEvent *event)
{
    if (doc.isModified()) {
        const QString level = doc.levelfile.isEmpty() ? QStringLiteral("this level")
                                                      : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(doc.levelfile));
        const QString question = QStringLiteral("The changes to %1 have not been saved.\n"
                                                "Do you want to save them before you close the studio?")
                                     .arg(level);
        switch (platform.askOrCancel(this, question)) {
        case Platform::Answer::Cancel:
            event->ignore();
            return;
        case Platform::Answer::Yes:
            if (!writeLevel().saved) {
                // Closing now would lose the changes; stay, so the author can
                // mend the cause and save, or close without saving.
                event->ignore();
                return;
            }
            break;
        case Platform::Answer::No:
            break;
        }
    }
    // The studio ends with its main window; the dialogs go with it.
    areaStats.hide();
    itemManager.hide();
    checker.hide();
    event->accept();
}
