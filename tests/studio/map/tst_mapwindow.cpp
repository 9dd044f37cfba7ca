// SPDX-License-Identifier: MIT
#include "locationbutton.h"
#include "mapwindow.h"
#include "qtext.h"
#include "scriptedplatform.h"
#include "testfiles.h"
#include "level/workedexample.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = ScriptedPlatform::Kind;
using Answer = Platform::Answer;

const QString NoStart
    = QStringLiteral("Warning This Level has no start position - please assign a Start room before testing.");
const QString TestQuestion = QStringLiteral("Level Data Saved. Do you want to test your game?");

QPushButton *command(MapWindow &map, int n)
{
    return map.findChild<QPushButton *>(QStringLiteral("Command%1").arg(n));
}

QByteArray readAll(const QString &path)
{
    return TestFiles::read(path);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    return TestFiles::write(path, bytes);
}

QByteArray levelFile(const QStringList &body)
{
    return TestFiles::level(body);
}

// The 15 lines of a level with nothing in it.
QByteArray emptyLevel()
{
    return levelFile({QStringLiteral("[ITEMS]"), QString(), QStringLiteral("[COMBOS]"), QString()});
}

struct Studio
{
    Studio()
        : map(platform)
    {
        platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    }
    void answer(std::initializer_list<Answer> answers)
    {
        for (Answer given : answers)
            platform.answers.enqueue(given);
    }
    ScriptedPlatform platform;
    MapWindow map;
};

} // namespace

class TestMapWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void windowAndCaptions();
    void focusRunsRowByRow();
    void buttonColor_data();
    void buttonColor();
    void buttonColorPaints();
    void clickOpensItsLocation_data();
    void clickOpensItsLocation();
    void openDialogOnlyComesToFront();
    void buttonsFollowTheDocument();
    void loaderFillsTheDialogs();
    void pictureName_data();
    void pictureName();
    void missingPictureLeavesNone();
    void loadPaintsExactlyTheLocationsRead();
    void saveEmptyLevel();
    void saveReadLevelByteForByte();
    void testLaunch_data();
    void testLaunch();
    void failedSaveAsksNothingMore();
    void closeQuestion_data();
    void closeQuestion();
    void publish_data();
    void publish();
    void guide_data();
    void guide();
};

void TestMapWindow::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // Left, top, width, height in twips, 15 to a pixel.
    QTest::newRow("heading") << "Label19" << QRect(40, 8, 657, 17);
    QTest::newRow("column A") << "Label1" << QRect(48, 32, 73, 17);
    QTest::newRow("column I") << "Label9" << QRect(624, 32, 73, 17);
    QTest::newRow("row 1") << "Label10" << QRect(16, 80, 25, 25);
    QTest::newRow("row 4") << "Label13" << QRect(16, 240, 25, 25);
    QTest::newRow("row 9") << "Label18" << QRect(16, 528, 25, 25);
    QTest::newRow("1A") << "Command1" << QRect(48, 64, 73, 57);
    QTest::newRow("1I is wider") << "Command9" << QRect(624, 64, 81, 57);
    QTest::newRow("2A") << "Command10" << QRect(48, 120, 73, 57);
    QTest::newRow("2C") << "Command12" << QRect(192, 120, 73, 57);
    QTest::newRow("5I") << "Command45" << QRect(624, 288, 81, 57);
    QTest::newRow("9I") << "Command81" << QRect(624, 512, 81, 57);
    QTest::newRow("Manage Items") << "Command82" << QRect(48, 576, 145, 25);
    QTest::newRow("Save Level Changes") << "Command83" << QRect(576, 576, 129, 25);
}

void TestMapWindow::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    Studio studio;
    QWidget *control = studio.map.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), pixels);
    QVERIFY(name.startsWith(QLatin1String("Label")) ? bool(qobject_cast<QLabel *>(control))
                                                     : bool(qobject_cast<QPushButton *>(control)));
}

void TestMapWindow::windowAndCaptions()
{
    Studio studio;
    MapWindow &map = studio.map;
    QCOMPARE(map.objectName(), QStringLiteral("MapWindow"));
    QCOMPARE(map.windowTitle(), QStringLiteral("Quillmoor Studio v1.0"));
    QCOMPARE(map.minimumSize(), QSize(722, 615));
    QCOMPARE(map.maximumSize(), QSize(722, 615));
    QCOMPARE(command(map, 82)->text(), QStringLiteral("Manage Items"));
    QCOMPARE(command(map, 83)->text(), QStringLiteral("Save Level Changes"));
    for (int k = 1; k <= 9; ++k) {
        QCOMPARE(map.findChild<QLabel *>(QStringLiteral("Label%1").arg(k))->text(), QString(QChar(u'A' + k - 1)));
        QCOMPARE(map.findChild<QLabel *>(QStringLiteral("Label%1").arg(9 + k))->text(), QString::number(k));
    }
    QVERIFY(map.findChild<QLabel *>(QStringLiteral("Label19"))->text().isEmpty());
    // A fresh map: every location unused, without text and without picture.
    for (int n = 1; n <= 81; ++n) {
        auto *location = qobject_cast<LocationButton *>(command(map, n));
        QVERIFY(location);
        QVERIFY(location->text().isEmpty());
        QCOMPARE(location->property("backColor").value<quint32>(), LocationButton::NotInUse);
        QVERIFY(location->picture().isNull());
    }
}

void TestMapWindow::focusRunsRowByRow()
{
    Studio studio;
    QWidget *at = command(studio.map, 1);
    for (int n = 2; n <= 83; ++n) {
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus)
            at = at->nextInFocusChain();
        QCOMPARE(at->objectName(), QStringLiteral("Command%1").arg(n));
    }
}

void TestMapWindow::buttonColor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("button"); // 0: none

    QTest::newRow("1A") << 1 << 1 << 1;
    QTest::newRow("1I") << 1 << 9 << 9;
    QTest::newRow("2A") << 2 << 1 << 10;
    QTest::newRow("5I") << 5 << 9 << 45;
    QTest::newRow("9I") << 9 << 9 << 81;
    QTest::newRow("row 0") << 0 << 3 << 0;
    QTest::newRow("column 10") << 3 << 10 << 0;
    QTest::newRow("row 10") << 10 << 1 << 0;
    QTest::newRow("negative") << -1 << -1 << 0;
}

void TestMapWindow::buttonColor()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, button);
    Studio studio;
    studio.map.ButtonColor(row, col, LocationButton::InUse);
    for (int n = 1; n <= 81; ++n) {
        const QVariant color = command(studio.map, n)->property("backColor");
        QCOMPARE(color.typeId(), QMetaType::UInt);
        QCOMPARE(color.value<quint32>(), n == button ? LocationButton::InUse : LocationButton::NotInUse);
    }
    // The document keeps the mark.
    QCOMPARE(studio.map.document().inUse({row, col}), button != 0);
    if (button) {
        studio.map.ButtonColor(row, col, LocationButton::NotInUse);
        QVERIFY(!studio.map.document().inUse({row, col}));
        QCOMPARE(command(studio.map, button)->property("backColor").value<quint32>(), LocationButton::NotInUse);
    }
}

void TestMapWindow::buttonColorPaints()
{
    Studio studio;
    QPushButton *location = command(studio.map, 12);
    const QColor standard = location->grab().toImage().pixelColor(location->rect().center());
    QVERIFY(standard.lightness() > 128);

    studio.map.ButtonColor(2, 3, LocationButton::InUse);
    QCOMPARE(location->grab().toImage().pixelColor(location->rect().center()), QColor(Qt::black));

    studio.map.ButtonColor(2, 3, LocationButton::NotInUse);
    QCOMPARE(location->grab().toImage().pixelColor(location->rect().center()), standard);
}

void TestMapWindow::clickOpensItsLocation_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("Command1") << 1 << 1 << 1;
    QTest::newRow("Command9") << 9 << 1 << 9;
    QTest::newRow("Command10") << 10 << 2 << 1;
    QTest::newRow("Command12") << 12 << 2 << 3;
    QTest::newRow("Command45") << 45 << 5 << 9;
    QTest::newRow("Command81") << 81 << 9 << 9;
}

void TestMapWindow::clickOpensItsLocation()
{
    QFETCH(int, button);
    QFETCH(int, row);
    QFETCH(int, col);
    Studio studio;
    studio.map.show();
    QTest::mouseClick(command(studio.map, button), Qt::LeftButton);
    AreaStatsDialog &area = studio.map.areaStatsDialog();
    QVERIFY(area.isVisible());
    QCOMPARE(area.rowpos, row);
    QCOMPARE(area.colpos, col);
    QVERIFY(!studio.map.itemManagementDialog().isVisible());
}

void TestMapWindow::openDialogOnlyComesToFront()
{
    Studio studio;
    MapWindow &map = studio.map;
    map.show();
    AreaStatsDialog &area = map.areaStatsDialog();
    ItemManagementDialog &items = map.itemManagementDialog();

    // The area editor stays on its location; "Manage Items" does nothing then.
    command(map, 12)->click();
    command(map, 40)->click();
    QCOMPARE(area.rowpos, 2);
    QCOMPARE(area.colpos, 3);
    command(map, 82)->click();
    QVERIFY(!items.isVisible());

    // With the item manager open, a location click opens nothing.
    area.hide();
    command(map, 82)->click();
    QVERIFY(items.isVisible());
    command(map, 40)->click();
    QVERIFY(!area.isVisible());
    QCOMPARE(area.rowpos, 2);
}

void TestMapWindow::buttonsFollowTheDocument()
{
    Studio studio;
    MapWindow &map = studio.map;
    map.show();
    LevelDocument &document = map.document();
    // The area editor marks a location through the document; the button follows.
    document.setInUse({4, 5}, true);
    QCOMPARE(command(map, 32)->property("backColor").value<quint32>(), LocationButton::InUse);
    // And opening the location reads the mark back as its first guess.
    command(map, 32)->click();
    QVERIFY(map.areaStatsDialog().findChild<QRadioButton *>(QStringLiteral("Option4"))->isChecked());
    map.areaStatsDialog().hide();
    document.setInUse({4, 5}, false);
    QCOMPARE(command(map, 32)->property("backColor").value<quint32>(), LocationButton::NotInUse);
    command(map, 32)->click();
    QVERIFY(map.areaStatsDialog().findChild<QRadioButton *>(QStringLiteral("Option5"))->isChecked());
    // A mark alone gives no picture; only a commit or a load does.
    QVERIFY(qobject_cast<LocationButton *>(command(map, 32))->picture().isNull());
    QVERIFY(!command(map, 32)->property("pictureName").isValid());
}

void TestMapWindow::loaderFillsTheDialogs()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("example.qw"));
    QVERIFY(writeFile(path, workedExample()));
    Studio studio;
    QVERIFY(studio.map.document().loadgame(path).isEmpty());
    QListWidget *names = studio.map.areaStatsDialog().itemNames();
    QStringList listed;
    for (int i = 0; i < names->count(); ++i)
        listed << names->item(i)->text();
    QCOMPARE(listed, (QStringList{"brass-key", "lamp", "oil", "lit-lamp"}));

    // The list follows the names the item manager commits.
    ItemManagementDialog &items = studio.map.itemManagementDialog();
    items.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("  "));
    items.findChild<QLineEdit *>(QStringLiteral("Text26"))->setText(QStringLiteral("zither"));
    items.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    listed.clear();
    for (int i = 0; i < names->count(); ++i)
        listed << names->item(i)->text();
    QCOMPARE(listed, (QStringList{"brass-key", "oil", "lit-lamp", "zither"}));
}

void TestMapWindow::pictureName_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("picture");

    QTest::newRow("paths north and west") << "Hall.|PATH N|PATH W|" << "1001.bmp";
    QTest::newRow("start, east, item") << "Cell.|PATH E|ITEM A|START|" << "AI0010.bmp";
    QTest::newRow("end of game") << "Won.|ENDGAME|" << "EN0000.bmp";
    QTest::newRow("load level") << "Down.|LOADLEVEL cave.qw COMMENT=You fall.|" << "EN0000.bmp";
    QTest::newRow("start and end: end wins") << "Odd.|START|ENDGAME|" << "EN0000.bmp";
    QTest::newRow("locked path counts") << "Gate.|PATH S REQUIRES=B The gate is shut.|" << "0100.bmp";
    QTest::newRow("item tag first: no item") << "ITEM A|PATH N|" << "1000.bmp";
    QTest::newRow("items, ordinary") << "Store.|ITEM C|ITEM D|" << "OI0000.bmp";
    QTest::newRow("everything") << "Pit.|PATH N|PATH S|PATH E|PATH W|ITEM B|LOADLEVEL b.qw COMMENT=x|" << "EI1111.bmp";
    QTest::newRow("start without items") << "Gate.|PATH N|PATH S|START|" << "AN1100.bmp";
    QTest::newRow("not used") << "" << "0000.bmp";
}

void TestMapWindow::pictureName()
{
    QFETCH(QString, record);
    QFETCH(QString, picture);
    Studio studio;
    studio.map.document().setInUse({3, 7}, true);
    // A commit renews the picture through the document.
    studio.map.document().updategrid({3, 7}, LocationRecord(toText(record)), 0);
    auto *location = qobject_cast<LocationButton *>(command(studio.map, 25));
    QCOMPARE(location->property("pictureName").toString(), picture);
    QVERIFY2(!location->picture().isNull(), "the pictures are drawn beside the program");
    QCOMPARE(location->picture().size(), QSize(67, 51));
    // The picture never changes the colour.
    QCOMPARE(location->backColor(), LocationButton::InUse);
    QVERIFY(location->text().isEmpty());
}

void TestMapWindow::missingPictureLeavesNone()
{
    QTemporaryDir empty;
    Studio studio;
    studio.platform.folder = empty.path();
    studio.map.document().updategrid({1, 1}, LocationRecord(U"Hall.|PATH N|"), 0);
    auto *location = qobject_cast<LocationButton *>(command(studio.map, 1));
    QCOMPARE(location->property("pictureName").toString(), QStringLiteral("1000.bmp"));
    QVERIFY(location->picture().isNull());
    // A picture shown before goes, rather than show exits the location lost.
    studio.platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    studio.map.document().updategrid({1, 1}, LocationRecord(U"Hall.|PATH S|"), 0);
    QVERIFY(!location->picture().isNull());
    studio.platform.folder = empty.path();
    studio.map.document().updategrid({1, 1}, LocationRecord(U"Hall.|PATH E|"), 0);
    QVERIFY(location->picture().isNull());
    studio.map.grab(); // paints without a picture
}

void TestMapWindow::loadPaintsExactlyTheLocationsRead()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("two.qw"));
    // 3C's block holds nothing but its header and still counts as in use.
    QVERIFY(writeFile(path, levelFile({QStringLiteral("[ITEMS]"), QStringLiteral("A lamp"), QString(),
                                       QStringLiteral("[LOCATION 1A]"), QStringLiteral("Cell."),
                                       QStringLiteral("PATH E"), QStringLiteral("ITEM A"), QStringLiteral("START"),
                                       QString(), QStringLiteral("[LOCATION 3C]"), QString(),
                                       QStringLiteral("[COMBOS]"), QString()})));
    Studio studio;
    QVERIFY(studio.map.document().loadgame(path).isEmpty());
    for (int n = 1; n <= 81; ++n) {
        auto *location = qobject_cast<LocationButton *>(command(studio.map, n));
        const bool read = n == 1 || n == 21;
        QCOMPARE(location->backColor(), read ? LocationButton::InUse : LocationButton::NotInUse);
        QCOMPARE(location->picture().isNull(), !read);
    }
    QCOMPARE(command(studio.map, 1)->property("pictureName").toString(), QStringLiteral("AI0010.bmp"));
    QCOMPARE(command(studio.map, 21)->property("pictureName").toString(), QStringLiteral("0000.bmp"));
}

void TestMapWindow::saveEmptyLevel()
{
    QTemporaryDir folder;
    Studio studio;
    studio.map.document().levelfile = folder.filePath(QStringLiteral("new.qw"));
    studio.answer({Answer::No});
    command(studio.map, 83)->click();

    QCOMPARE(readAll(studio.map.document().levelfile), emptyLevel());
    QCOMPARE(emptyLevel().count("\r\n"), 15);
    // The warning first, then the question all the same.
    QCOMPARE(studio.platform.events.size(), 2);
    QCOMPARE(studio.platform.events.at(0).kind, Kind::Inform);
    QCOMPARE(studio.platform.events.at(0).text, NoStart);
    QCOMPARE(studio.platform.events.at(1).kind, Kind::Ask);
    QCOMPARE(studio.platform.events.at(1).text, TestQuestion);
}

void TestMapWindow::saveReadLevelByteForByte()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("example.qw"));
    QVERIFY(writeFile(path, workedExample()));
    Studio studio;
    studio.map.document().levelfile = path;
    QVERIFY(studio.map.document().loadgame(path).isEmpty());
    QVERIFY(QFile::remove(path));

    studio.answer({Answer::No, Answer::No});
    command(studio.map, 83)->click();
    QCOMPARE(readAll(path), workedExample());
    command(studio.map, 83)->click();
    QCOMPARE(readAll(path), workedExample());
    // The level has a start: only the question, once per save.
    QCOMPARE(studio.platform.texts(Kind::Inform), QStringList());
    QCOMPARE(studio.platform.texts(Kind::Ask), (QStringList{TestQuestion, TestQuestion}));
    QCOMPARE(studio.platform.texts(Kind::StartProgram), QStringList());
}

void TestMapWindow::testLaunch_data()
{
    QTest::addColumn<QString>("levelName");
    QTest::addColumn<bool>("starts");
    QTest::newRow("started") << "castle.qw" << true;
    QTest::newRow("spaces in the path") << "my castle.qw" << true;
    QTest::newRow("a name starting with -") << "-castle.qw" << true;
    QTest::newRow("player cannot start") << "castle.qw" << false;
}

void TestMapWindow::testLaunch()
{
    QFETCH(QString, levelName);
    QFETCH(bool, starts);
    QTemporaryDir folder;
    Studio studio;
    const QString level = folder.filePath(levelName);
    studio.map.document().levelfile = level;
    studio.map.document().updategrid({1, 1}, LocationRecord(U"Cell.|START|"), 0);
    studio.answer({Answer::Yes});
    studio.platform.startSucceeds = starts;
    command(studio.map, 83)->click();

    QVERIFY(QFile::exists(level));
    const QList<ScriptedPlatform::Event> &events = studio.platform.events;
    QCOMPARE(events.size(), starts ? 2 : 3);
    QCOMPARE(events.at(0).text, TestQuestion);
    QCOMPARE(events.at(1).kind, Kind::StartProgram);
    QCOMPARE(events.at(1).text, QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorplayer"));
    // "--" first, so the player never takes the level for an option.
    QCOMPARE(events.at(1).arguments, (QStringList{"--", level}));
    if (!starts) {
        QCOMPARE(events.at(2).kind, Kind::Inform);
        QVERIFY(events.at(2).text.contains(QLatin1String("player could not be started")));
        QVERIFY(events.at(2).text.contains(QLatin1String("the program could not be started")));
    }
}

void TestMapWindow::failedSaveAsksNothingMore()
{
    QTemporaryDir folder;
    Studio studio;
    const QString level = folder.filePath(QStringLiteral("missing folder/castle.qw"));
    studio.map.document().levelfile = level;
    studio.answer({Answer::Yes});
    command(studio.map, 83)->click();

    QCOMPARE(studio.platform.events.size(), 1);
    QCOMPARE(studio.platform.events.at(0).kind, Kind::Inform);
    QVERIFY2(studio.platform.events.at(0).text.contains(level), qPrintable(studio.platform.events.at(0).text));
    QVERIFY(!QFile::exists(level));
}

void TestMapWindow::closeQuestion_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("savable");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");

    QTest::newRow("nothing changed") << false << true << int(Answer::Yes) << false << true << false;
    QTest::newRow("Yes saves and closes") << true << true << int(Answer::Yes) << true << true << true;
    QTest::newRow("Yes, save fails: stays") << true << false << int(Answer::Yes) << true << false << false;
    QTest::newRow("No closes unsaved") << true << true << int(Answer::No) << true << true << false;
    QTest::newRow("Cancel stays") << true << true << int(Answer::Cancel) << true << false << false;
}

void TestMapWindow::closeQuestion()
{
    QFETCH(bool, changed);
    QFETCH(bool, savable);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closes);
    QFETCH(bool, written);

    QTemporaryDir folder;
    Studio studio;
    MapWindow &map = studio.map;
    const QString level = folder.filePath(savable ? QStringLiteral("castle.qw") : QStringLiteral("gone/castle.qw"));
    map.document().levelfile = level;
    if (changed)
        map.document().updateitems({U"lamp"}, {});
    studio.answer({Answer(answer)});
    map.show();
    command(map, 82)->click();

    QCOMPARE(map.close(), closes);
    QCOMPARE(map.isVisible(), !closes);
    QCOMPARE(map.itemManagementDialog().isVisible(), !closes);
    const QStringList questions = studio.platform.texts(Kind::AskOrCancel);
    QCOMPARE(questions.size(), asked ? 1 : 0);
    if (asked)
        QVERIFY(questions.first().contains(level));
    QCOMPARE(QFile::exists(level), written);
    // A failed save says so; the author is not left guessing.
    QCOMPARE(studio.platform.texts(Kind::Inform).size(), savable ? 0 : 1);
    QCOMPARE(studio.platform.texts(Kind::Ask), QStringList());
}

void TestMapWindow::publish_data()
{
    QTest::addColumn<QString>("level"); // relative to the current folder
    QTest::addColumn<QString>("record"); // of 1A
    QTest::addColumn<bool>("runtime");
    QTest::addColumn<QString>("target"); // "" cancels the dialog
    QTest::addColumn<QStringList>("events");

    const QString start = QStringLiteral("Cell.|PATH E|START|");
    QTest::newRow("published") << "castle.qw" << start << true << "page.html" << QStringList{"dialog", "published"};
    QTest::newRow("into another folder") << "castle.qw" << start << true << "out/page.html"
                                         << QStringList{"dialog", "published"};
    // The player would stop at once: the page would only say so.
    QTest::newRow("no start: the save's warning first, and no page")
        << "castle.qw" << "Cell.|" << true << "page.html" << QStringList{"no start", "dialog", "publish failed"};
    QTest::newRow("dialog cancelled: saved only") << "castle.qw" << start << true << "" << QStringList{"dialog"};
    QTest::newRow("save fails: nothing more") << "gone/castle.qw" << start << true << "page.html"
                                              << QStringList{"save failed"};
    QTest::newRow("no page runtime: nothing saved") << "castle.qw" << start << false << "page.html"
                                                    << QStringList{"no runtime"};
    QTest::newRow("level it leads to is missing")
        << "castle.qw" << "Pit.|LOADLEVEL nowhere.qw COMMENT=Down.|START|" << true << "page.html"
        << QStringList{"dialog", "publish failed"};
    QTest::newRow("page would replace the level") << "castle.qw" << start << true << "castle.qw"
                                                  << QStringList{"dialog", "publish failed"};
}

// "Publish as Web Page…": saved as "Save Level Changes" saves, a file dialog,
// then the page; the current folder stays where it was.
void TestMapWindow::publish()
{
    QFETCH(QString, level);
    QFETCH(QString, record);
    QFETCH(bool, runtime);
    QFETCH(QString, target);
    QFETCH(QStringList, events);

    // The programs' folder, with a page runtime of the test's own.
    QTemporaryDir programs;
    QVERIFY(QFile::copy(QStringLiteral(QUILLMOOR_BIN_DIR "/Language.txt"), programs.filePath("Language.txt")));
    if (runtime) {
        QVERIFY(QDir(programs.path()).mkpath("web"));
        QVERIFY(writeFile(programs.filePath("web/quillmoorpage.html"), "<html>@QUILLMOOR_GAME@</html>"));
    }
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath("out"));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    auto back = qScopeGuard([&previous] { QDir::setCurrent(previous); });
    const QString here = QDir::currentPath();

    Studio studio;
    studio.platform.folder = programs.path();
    studio.map.document().levelfile = level;
    studio.map.document().updategrid({1, 1}, LocationRecord(toText(record)), 0);
    if (!target.isEmpty())
        studio.platform.saveFileResults.enqueue(work.filePath(target));
    auto *publish = studio.map.findChild<QPushButton *>(QStringLiteral("publishButton"));
    QVERIFY(publish);
    QCOMPARE(publish->text(), QStringLiteral("Publish as Web Page\u2026"));
    publish->click();

    QStringList seen;
    for (const ScriptedPlatform::Event &event : studio.platform.events) {
        if (event.kind == Kind::SaveFile) {
            seen << "dialog";
            QCOMPARE(event.text, QStringLiteral("Publish as Web Page"));
            // The level's name with ".html", where the level lies.
            QCOMPARE(event.arguments, QStringList{here + "/" + QFileInfo(level).completeBaseName() + ".html"});
        } else if (event.kind != Kind::Inform) {
            seen << "asked: " + event.text;
        } else if (event.text == NoStart) {
            seen << "no start";
        } else if (event.text.startsWith(QLatin1String("Could not save"))) {
            seen << "save failed";
        } else if (event.text.contains(QLatin1String("page runtime"))) {
            seen << "no runtime";
        } else if (event.text.contains(QLatin1String("published")) && event.text.contains(work.filePath(target))) {
            seen << "published";
        } else {
            seen << "publish failed";
            QVERIFY2(event.text.contains(QLatin1String("nowhere.qw")) || event.text.contains(QLatin1String("castle.qw")),
                     qPrintable(event.text));
        }
    }
    QCOMPARE(seen, events);
    QCOMPARE(QDir::currentPath(), here);
    // Saved first whenever there was something to publish with.
    QCOMPARE(QFile::exists(level), runtime && !level.startsWith(QLatin1String("gone/")));
    if (events.contains("published")) {
        const QByteArray page = readAll(work.filePath(target));
        QVERIFY(page.startsWith("<html>"));
        QVERIFY(!page.contains("@QUILLMOOR_GAME@"));
        // The level as saved, in the page's data.
        QVERIFY(page.contains(readAll(level).toBase64()));
    } else if (target != level) {
        QVERIFY(target.isEmpty() || !QFile::exists(work.filePath(target)));
    }
    if (target == level)
        QVERIFY(readAll(level).startsWith("[MAP]"));
}

void TestMapWindow::guide_data()
{
    QTest::addColumn<QStringList>("pages"); // the guide's start pages that exist, under a prefix
    QTest::addColumn<bool>("browser");
    QTest::addColumn<QString>("opened"); // under the prefix; "" opens nothing
    QTest::addColumn<QString>("told"); // the start of the message shown; "" none

    const QString built = QStringLiteral("bin/guide/index.html");
    const QString installed = QStringLiteral("share/doc/quillmoor/guide/index.html");
    QTest::newRow("built beside the studio") << QStringList{built} << true << built << "";
    QTest::newRow("installed") << QStringList{installed} << true << installed << "";
    QTest::newRow("the built one first") << QStringList{built, installed} << true << built << "";
    QTest::newRow("neither: how to build it") << QStringList{} << true << "" << "The author's guide is not installed";
    QTest::newRow("no browser: where it lies") << QStringList{installed} << false << installed
                                               << "No web browser could be started";
}

// "Guide" and F1 open the guide's start page in the browser, through the desktop.
void TestMapWindow::guide()
{
    QFETCH(QStringList, pages);
    QFETCH(bool, browser);
    QFETCH(QString, opened);
    QFETCH(QString, told);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")));
    for (const QString &page : std::as_const(pages)) {
        QVERIFY(QDir(root.path()).mkpath(QFileInfo(page).path()));
        QVERIFY(writeFile(root.filePath(page), "<html></html>"));
    }
    Studio studio;
    studio.platform.folder = root.filePath(QStringLiteral("bin"));
    studio.platform.openUrlSucceeds = browser;

    QAction *guide = studio.map.findChild<QAction *>(QStringLiteral("actionGuide"));
    QVERIFY(guide);
    QCOMPARE(guide->text(), QStringLiteral("Guide"));
    QCOMPARE(guide->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(studio.map.actions().contains(guide));
    QCOMPARE(studio.map.contextMenuPolicy(), Qt::ActionsContextMenu);
    guide->trigger();

    const QStringList urls = studio.platform.texts(Kind::OpenUrl);
    QCOMPARE(urls, opened.isEmpty() ? QStringList() : QStringList{QUrl::fromLocalFile(root.filePath(opened)).toString()});
    const QStringList messages = studio.platform.texts(Kind::Inform);
    QCOMPARE(messages.size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(messages.first().startsWith(told), qPrintable(messages.first()));
}

QTEST_MAIN(TestMapWindow)
#include "tst_mapwindow.moc"
