// SPDX-License-Identifier: MIT
// Takes the pictures of the author's guide from the programs' own windows: it
// builds the guide's example game through the studio's windows, as the guide
// tells an author to, saves it, checks it, plays it in the player's window,
// and writes a picture of each window at each step the guide shows.
//   guideshots BIN WORK PICTURES
// BIN is the folder of the built programs and their data, WORK an empty folder
// where the game's level files are written, PICTURES the folder for the PNG
// files. A step that goes otherwise than the guide says stops it with a message.
#include "locationbutton.h"
#include "playerwindow.h"
#include "qtplatform.h"
#include "startdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QQueue>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

QString picturesFolder;
int pictureCount = 0;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "guideshots: %s\n", qPrintable(why));
    std::exit(1);
}

// The window as the desktop frames it: its title above its contents.
QImage framed(QWidget *window)
{
    const QPixmap contents = window->grab();
    constexpr int bar = 26;
    QImage picture(contents.width() + 2, contents.height() + bar + 1, QImage::Format_RGB32);
    picture.fill(QColor(0x3a, 0x3f, 0x4b));
    QPainter painter(&picture);
    painter.drawPixmap(1, bar, contents);
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(10, 0, picture.width() - 20, bar), Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    return picture;
}

void save(const QImage &picture, const QString &name)
{
    const QString path = QDir(picturesFolder).filePath(name + QStringLiteral(".png"));
    if (!picture.save(path))
        fail(QStringLiteral("cannot write %1").arg(path));
    ++pictureCount;
}

// The window the author works in is the active one, so that only the control
// with the keyboard's focus shows it.
void activate(QWidget *window)
{
    window->activateWindow();
    if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000))
        fail(QStringLiteral("%1 did not become active").arg(window->objectName()));
}

void shoot(QWidget *window, const QString &name)
{
    activate(window);
    save(framed(window), name);
}

// The desktop of the programs, with the person at it scripted: each message
// box is the real one, answered (and pictured, when the guide shows it) as
// the script says. No step of the guide starts a program or opens a page.
class ShotPlatform : public QtPlatform
{
public:
    explicit ShotPlatform(const QString &bin)
        : QtPlatform(QStringLiteral("Quillmoor Studio"))
        , bin(bin)
    {
    }

    struct Reply
    {
        QString text; // the start of the message expected
        QMessageBox::StandardButton button;
        QString picture; // "" takes none
    };
    QQueue<Reply> replies;

    void inform(QWidget *parent, const QString &text) override
    {
        whenShown(text);
        QtPlatform::inform(parent, text);
    }
    bool ask(QWidget *parent, const QString &text) override
    {
        whenShown(text);
        return QtPlatform::ask(parent, text);
    }
    bool askDefaultNo(QWidget *parent, const QString &text) override
    {
        whenShown(text);
        return QtPlatform::askDefaultNo(parent, text);
    }
    Answer askOrCancel(QWidget *parent, const QString &text) override
    {
        whenShown(text);
        return QtPlatform::askOrCancel(parent, text);
    }
    QString openFile(QWidget *, const QString &title, const QString &) override
    {
        fail(QStringLiteral("a file dialog opened: %1").arg(title));
    }
    QString saveFile(QWidget *, const QString &title, const QString &, const QString &) override
    {
        fail(QStringLiteral("a file dialog opened: %1").arg(title));
    }
    bool startProgram(const QString &program, const QStringList &, QString *) override
    {
        fail(QStringLiteral("a program was started: %1").arg(program));
    }
    bool openUrl(const QUrl &url) override { fail(QStringLiteral("a page was opened: %1").arg(url.toString())); }
    QString programFolder() const override { return bin; }

private:
    // Once the box of text is open, pictures it and presses the scripted button.
    void whenShown(const QString &text)
    {
        if (replies.isEmpty() || !text.startsWith(replies.head().text))
            fail(QStringLiteral("an unexpected message: %1").arg(text));
        const Reply reply = replies.dequeue();
        QTimer::singleShot(0, [reply] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->button(reply.button))
                fail(QStringLiteral("no box with the button to press for: %1").arg(reply.text));
            if (!reply.picture.isEmpty())
                shoot(box, reply.picture);
            box->button(reply.button)->click();
        });
    }

    QString bin;
};

template<typename T> T *in(QWidget &window, const QString &name)
{
    T *widget = window.findChild<T *>(name);
    if (!widget)
        fail(QStringLiteral("%1 has no %2").arg(window.objectName(), name));
    return widget;
}

void click(QWidget &window, const QString &name)
{
    QTest::mouseClick(in<QAbstractButton>(window, name), Qt::LeftButton);
}

// Types text as a person does, pressing Enter where it holds a line break.
void type(QWidget *box, const QString &text)
{
    box->setFocus();
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, lines.at(i));
    }
}

// Double-clicks the entry of a list that reads text.
void moveEntry(QWidget &window, const QString &list, const QString &text)
{
    auto *from = in<QListWidget>(window, list);
    const QList<QListWidgetItem *> found = from->findItems(text, Qt::MatchExactly);
    if (found.size() != 1)
        fail(QStringLiteral("%1 does not hold \"%2\" once").arg(list, text));
    const QPoint at = from->visualItemRect(found.first()).center();
    QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, at);
}

// What the author fills in for one location in "Area Stats".
struct Location
{
    int row;
    int col;
    QString narrative;
    struct Exit
    {
        int direction; // 1 north, 2 south, 3 east, 4 west
        QString needs; // the item's name; "" for an open exit
        QString lockout;
    };
    QList<Exit> exits;
    QStringList items;
    QString type; // the option's name: Option1 start ... Option4 normal
    QString levelFile;
    QString levelNarrative;
};

void fillLocation(MapWindow &map, const Location &location, const QString &picture = {})
{
    map.roomstats(location.row, location.col);
    AreaStatsDialog &area = map.areaStatsDialog();
    if (!area.isVisible())
        fail(QStringLiteral("Area Stats did not open"));
    activate(&area);
    type(in<QPlainTextEdit>(area, QStringLiteral("Text1")), location.narrative);
    for (const Location::Exit &exit : location.exits) {
        in<QCheckBox>(area, QStringLiteral("Check%1").arg(exit.direction))->click();
        if (!exit.needs.isEmpty()) {
            auto *required = in<QComboBox>(area, QStringLiteral("Combo%1").arg(exit.direction));
            const int index = required->findText(exit.needs);
            if (index < 0)
                fail(QStringLiteral("no item \"%1\" to require").arg(exit.needs));
            required->setCurrentIndex(index);
            type(in<QPlainTextEdit>(area, QStringLiteral("Text%1").arg(3 + exit.direction)), exit.lockout);
        }
    }
    for (const QString &item : location.items)
        moveEntry(area, QStringLiteral("List2"), item);
    in<QRadioButton>(area, location.type)->click();
    if (!location.levelFile.isEmpty()) {
        type(in<QLineEdit>(area, QStringLiteral("Text2")), location.levelFile);
        type(in<QPlainTextEdit>(area, QStringLiteral("Text3")), location.levelNarrative);
    }
    if (!picture.isEmpty()) {
        // Nothing has the keyboard's focus frame in the picture.
        in<QPushButton>(area, QStringLiteral("Command1"))->setFocus();
        shoot(&area, picture);
    }
    click(area, QStringLiteral("Command1"));
    if (area.isVisible())
        fail(QStringLiteral("Area Stats stayed open"));
}

// Opens the level file named as a new author does: the start dialog, a name
// typed, "Continue".
MapWindow &openLevel(StartDialog &start, const QString &name, const QString &picture = {})
{
    start.show();
    activate(&start);
    type(in<QLineEdit>(start, QStringLiteral("Text1")), name);
    if (!picture.isEmpty())
        shoot(&start, picture);
    click(start, QStringLiteral("Command1"));
    MapWindow *map = start.mapWindow();
    if (!map || !map->isVisible())
        fail(QStringLiteral("the map window did not open for %1").arg(name));
    activate(map);
    return *map;
}

void saveLevel(MapWindow &map, ShotPlatform &platform, const QString &picture = {})
{
    platform.replies.enqueue({QStringLiteral("Level Data Saved."), QMessageBox::No, picture});
    click(map, QStringLiteral("Command83"));
    if (!platform.replies.isEmpty())
        fail(QStringLiteral("the save asked nothing"));
}

void checkLevel(MapWindow &map, const QString &picture)
{
    CheckLevelDialog &checker = map.checkLevelDialog();
    QSignalSpy done(&checker, &CheckLevelDialog::checked);
    map.checkLevel();
    if (!done.wait(60000))
        fail(QStringLiteral("the check did not end"));
    // The first problem chosen, as a click chooses it: the window shows it in
    // full. Without one, the next step is to play the walkthrough.
    activate(&checker);
    auto *problems = in<QTreeWidget>(checker, QStringLiteral("problemList"));
    if (problems->topLevelItemCount() > 0) {
        problems->setFocus();
        problems->setCurrentItem(problems->topLevelItem(0));
    } else {
        in<QPushButton>(checker, QStringLiteral("playButton"))->setFocus();
    }
    shoot(&checker, picture);
}

// The map's context menu, opened as a right click opens it.
void shootMenu(MapWindow &map, const QString &picture)
{
    QTimer::singleShot(0, [picture] {
        QWidget *menu = QApplication::activePopupWidget();
        if (!qobject_cast<QMenu *>(menu))
            fail(QStringLiteral("no context menu opened"));
        save(menu->grab().toImage(), picture);
        menu->close();
    });
    const QPoint at(40, 40);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, map.mapToGlobal(at));
    QApplication::sendEvent(&map, &event);
}

// One location button of each kind the map shows, as the map paints it.
void shootLegend(ShotPlatform &platform)
{
    using Type = LocationRecord::Kind;
    // A record as the area editor writes it, with open paths and item A.
    const auto record = [](TextView narrative, std::initializer_list<Direction> paths, bool item, Type type) {
        LocationRecord::Contents contents;
        contents.narrative = Text(narrative);
        for (Direction d : paths)
            contents.paths[int(d)].exists = true;
        if (item)
            contents.items.push_back(0);
        contents.kind = type;
        return contents;
    };
    const auto N = Direction::North, S = Direction::South, E = Direction::East, W = Direction::West;
    LocationRecord::Contents stair = record(U"Stair.", {}, false, Type::LoadLevel);
    stair.paths[int(S)] = {true, U'A', U"Dark."};
    stair.levelFile = U"next.qw";
    stair.levelComment = U"Up.";
    struct Kind
    {
        QString picture;
        std::optional<LocationRecord::Contents> record; // none leaves the location as it is
        bool inUse;
    };
    const QList<Kind> kinds{
        {QStringLiteral("legend-unused"), {}, false},
        {QStringLiteral("legend-new"), {}, true},
        {QStringLiteral("legend-ordinary"), record(U"Hall.", {N, S, E, W}, false, Type::Normal), true},
        {QStringLiteral("legend-corridor"), record(U"Passage.", {E, W}, false, Type::Normal), true},
        {QStringLiteral("legend-items"), record(U"Store.", {N, W}, true, Type::Normal), true},
        {QStringLiteral("legend-start"), record(U"Cottage.", {E}, false, Type::Start), true},
        {QStringLiteral("legend-start-items"), record(U"Cottage.", {E}, true, Type::Start), true},
        {QStringLiteral("legend-end"), record(U"Lamp room.", {S}, false, Type::End), true},
        {QStringLiteral("legend-load"), stair, true},
        {QStringLiteral("legend-end-items"), record(U"Vault.", {W}, true, Type::End), true},
        {QStringLiteral("legend-set-unused"), record(U"", {}, false, Type::NotUsed), false},
    };
    MapWindow map(platform);
    std::array<Text, LevelDocument::ItemCount> names{};
    names[0] = U"lamp";
    map.document().updateitems(names, {});
    // Columns A to H only: the buttons of column I are wider.
    auto place = [](int i) { return GridRef{1 + i / 8, 1 + i % 8}; };
    for (int i = 0; i < int(kinds.size()); ++i) {
        const GridRef at = place(i);
        if (kinds[i].record)
            map.document().updategrid(at, LocationRecord::compose(*kinds[i].record), 0);
        map.document().setInUse(at, kinds[i].inUse);
    }
    map.show();
    QApplication::processEvents();
    for (int i = 0; i < int(kinds.size()); ++i) {
        const GridRef at = place(i);
        auto *button = in<LocationButton>(map, QStringLiteral("Command%1").arg(at.index() + 1));
        button->clearFocus();
        save(button->grab().toImage(), kinds[i].picture);
    }
}

// The player's window part of the way through the game, as a player sees it:
// the lines played, and the next command typed but not yet entered.
void shootPlayer(ShotPlatform &platform, const QString &bin, const QString &level, const QStringList &lines,
                 const QString &typing, const QString &picture)
{
    const std::string path = level.toStdString();
    PlayerWindow window(platform, Game::Setup{path, path, QDir(bin).filePath(QStringLiteral("Language.txt")).toStdString()});
    window.resize(720, 300);
    window.show();
    activate(&window);
    auto *console = in<QPlainTextEdit>(window, QStringLiteral("Text1"));
    for (const QString &line : lines) {
        console->moveCursor(QTextCursor::End);
        QTest::keyClicks(console, line);
        QTest::keyClick(console, Qt::Key_Return);
        QApplication::processEvents();
    }
    console->moveCursor(QTextCursor::End);
    QTest::keyClicks(console, typing);
    shoot(&window, picture);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: guideshots BIN WORK PICTURES\n", stderr);
        return 2;
    }
    const QString bin = QDir(arguments.at(1)).absolutePath();
    picturesFolder = QDir(arguments.at(3)).absolutePath();
    if (!QDir().mkpath(picturesFolder) || !QDir::setCurrent(arguments.at(2)))
        fail(QStringLiteral("cannot use the folders %1 and %2").arg(arguments.at(2), picturesFolder));
    QApplication::setApplicationName(QStringLiteral("Quillmoor Studio"));
    ShotPlatform platform(bin);

    // The first level: a new file.
    StartDialog start(platform);
    MapWindow &map = openLevel(start, QStringLiteral("LIGHTHOUSE.qw"), QStringLiteral("start-dialog"));
    shoot(&map, QStringLiteral("map-new"));

    // The items, and the rule that makes the lit lantern.
    click(map, QStringLiteral("Command82"));
    ItemManagementDialog &items = map.itemManagementDialog();
    activate(&items);
    type(in<QLineEdit>(items, QStringLiteral("Text1")), QStringLiteral("lantern"));
    type(in<QLineEdit>(items, QStringLiteral("Text2")), QStringLiteral("oil"));
    type(in<QLineEdit>(items, QStringLiteral("Text3")), QStringLiteral("lit lantern"));
    type(in<QComboBox>(items, QStringLiteral("Combo3"))->lineEdit(), QStringLiteral("A"));
    type(in<QComboBox>(items, QStringLiteral("Combo29"))->lineEdit(), QStringLiteral("B"));
    in<QPushButton>(items, QStringLiteral("Command1"))->setFocus();
    shoot(&items, QStringLiteral("items"));
    click(items, QStringLiteral("Command1"));

    const QString dark = QStringLiteral("The stair is pitch dark. You will not climb it without a light.");
    fillLocation(map,
                 {2, 2,
                  QStringLiteral("The Keeper's Cottage\nA bed, a stove and a table. The old keeper has gone, and "
                                 "tonight\nnobody has lit the lighthouse. The door opens east onto the yard."),
                  {{3, {}, {}}}, {QStringLiteral("lantern")}, QStringLiteral("Option1"), {}, {}},
                 QStringLiteral("area-cottage"));
    fillLocation(map, {2, 3,
                       QStringLiteral("The Yard\nThe wind tears at your coat. The cottage lies to the west and "
                                      "the\nlighthouse stands to the east."),
                       {{3, {}, {}}, {4, {}, {}}}, {QStringLiteral("oil")}, QStringLiteral("Option4"), {}, {}});
    fillLocation(map,
                 {2, 4,
                  QStringLiteral("The Foot of the Tower\nInside the door of the lighthouse a stair goes up into the "
                                 "dark.\nThe yard is back to the west."),
                  {{1, QStringLiteral("lit lantern"), dark}, {4, {}, {}}}, {}, QStringLiteral("Option4"), {}, {}},
                 QStringLiteral("area-tower"));
    fillLocation(map,
                 {1, 4, QStringLiteral("The Tower Stair\nWorn steps wind up inside the wall of the lighthouse."),
                  {{2, QStringLiteral("lit lantern"), dark}}, {}, QStringLiteral("Option2"), QStringLiteral("LAMPROOM.qw"),
                  QStringLiteral("You climb round and round by the light of your lantern, and hang it on a hook at the "
                                 "top.")},
                 QStringLiteral("area-stair"));
    saveLevel(map, platform, QStringLiteral("save-question"));
    in<QPushButton>(map, QStringLiteral("Command83"))->setFocus();
    shoot(&map, QStringLiteral("map-lighthouse"));
    shootMenu(map, QStringLiteral("map-menu"));

    // Checked before the second level exists: the problem the guide mends.
    checkLevel(map, QStringLiteral("check-problem"));
    map.checkLevelDialog().hide();

    // The second level, in a studio of its own.
    StartDialog second(platform);
    MapWindow &top = openLevel(second, QStringLiteral("LAMPROOM.qw"));
    fillLocation(top, {2, 5,
                       QStringLiteral("The Top of the Stair\nThe stair ends at a small landing under the roof of the "
                                      "tower. A\nladder leads north up into the lamp room."),
                       {{1, {}, {}}}, {}, QStringLiteral("Option1"), {}, {}});
    fillLocation(top,
                 {1, 5,
                  QStringLiteral("The Lamp Room\nYou strike the keeper's flint and the great lamp flares up. Its "
                                 "beam\nsweeps out over the black sea, and far away a ship turns towards\nthe harbour."),
                  {{2, {}, {}}}, {}, QStringLiteral("Option3"), {}, {}},
                 QStringLiteral("area-lamproom"));
    saveLevel(top, platform);
    in<QPushButton>(top, QStringLiteral("Command83"))->setFocus();
    shoot(&top, QStringLiteral("map-lamproom"));
    top.close();

    // Checked again: the whole game can be won.
    checkLevel(map, QStringLiteral("check-won"));
    map.checkLevelDialog().hide();

    shootPlayer(platform, bin, QStringLiteral("LIGHTHOUSE.qw"),
                {QStringLiteral("take lantern"), QStringLiteral("e"), QStringLiteral("take oil"),
                 QStringLiteral("combine lantern with oil")},
                QStringLiteral("e"), QStringLiteral("player"));
    shootLegend(platform);

    if (!platform.replies.isEmpty())
        fail(QStringLiteral("a message the guide shows never came: %1").arg(platform.replies.head().text));
    std::printf("guideshots: %d pictures in %s\n", pictureCount, qPrintable(picturesFolder));
    return 0;
}
