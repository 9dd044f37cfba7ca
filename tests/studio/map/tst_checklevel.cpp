// SPDX-License-Identifier: MIT
#include "check/checkfiles.h"
#include "mapwindow.h"
#include "scriptedplatform.h"
#include "studio/check/checklevels.h"
#include "toolrun.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

using Kind = ScriptedPlatform::Kind;
using Answer = Platform::Answer;

const QString Player = QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorplayer");
const QString Changed = QStringLiteral("The level has changed since it was checked, so the walkthrough may no longer "
                                       "win it. Press \"Check Again\", then play the walkthrough.");
const QString SaveFirst = QStringLiteral("The player plays the level file, which does not hold the level as checked "
                                         "yet. Save the level now and play the walkthrough?");

struct Studio
{
    Studio()
        : map(platform)
    {
        platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    }
    CheckLevelDialog &checker() { return map.checkLevelDialog(); }
    QString verdict() { return checker().findChild<QLabel *>("verdictLabel")->text(); }
    // "Check Level", then the verdict.
    bool check()
    {
        QSignalSpy checked(&checker(), &CheckLevelDialog::checked);
        map.findChild<QPushButton *>("checkButton")->click();
        return checked.wait(60000) || checked.size() == 1;
    }
    // Puts each block of the lines after a map section into the document, as
    // the area editor and the item manager commit them.
    void enter(const QStringList &afterMap)
    {
        const QString file = folder.filePath("entered.qw");
        TestFiles::write(file, TestFiles::level(afterMap));
        LevelDocument loaded;
        loaded.loadgame(file);
        map.document().updateitems(loaded.itemnames(), loaded.combotable());
        for (int i = 0; i < Level::LocationCount; ++i) {
            const GridRef at = GridRef::fromIndex(i);
            if (!loaded.locdata(at).isBlank())
                map.document().updategrid(at, loaded.locdata(at), 0);
        }
        QFile::remove(file);
    }
    QTemporaryDir folder;
    ScriptedPlatform platform;
    MapWindow map;
};

QStringList lines(const QString &path)
{
    return QString::fromUtf8(TestFiles::read(path)).split('\n', Qt::SkipEmptyParts);
}

} // namespace

// "Check Level" in the map window: it checks the level as a save would write
// it without saving, opens a problem's location and plays the walkthrough in
// the player.
class TestCheckLevel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void button();
    void checksWhatTheAuthorSees_data();
    void checksWhatTheAuthorSees();
    void problemOpensItsLocation_data();
    void problemOpensItsLocation();
    void playWalkthrough_data();
    void playWalkthrough();
    void walkthroughWinsInThePlayer();
    void playIntoADeadEnd_data();
    void playIntoADeadEnd();
    void closingTheStudioStopsTheCheck();
};

void TestCheckLevel::button()
{
    Studio studio;
    auto *check = studio.map.findChild<QPushButton *>("checkButton");
    QVERIFY(check);
    QCOMPARE(check->text(), "Check Level");
    // Left 5520, top 8640, width 1935, height 375 twips.
    QCOMPARE(check->geometry(), QRect(368, 576, 129, 25));
    QCOMPARE(check->accessibleName(), "Check Level");
    QVERIFY(!check->toolTip().isEmpty());
    // After every control that was there before it.
    QCOMPARE(studio.map.findChild<QPushButton *>("publishButton")->nextInFocusChain(), check);
    QCOMPARE(studio.map.findChild<QPushButton *>("Command83")->nextInFocusChain(),
             studio.map.findChild<QPushButton *>("publishButton"));

    // The context menu holds it after publishing, before the guide.
    QStringList menu;
    for (const QAction *action : studio.map.actions())
        menu << action->objectName();
    QCOMPARE(menu, (QStringList{"actionUndo", "actionRedo", "", "actionPublish", "actionCheckLevel", "", "actionGuide"}));
    QAction *action = studio.map.findChild<QAction *>("actionCheckLevel");
    QCOMPARE(action->text(), "Check Level");
    QSignalSpy checked(&studio.checker(), &CheckLevelDialog::checked);
    action->trigger();
    QVERIFY(studio.checker().isVisible());
    QVERIFY(checked.wait(60000));
}

void TestCheckLevel::checksWhatTheAuthorSees_data()
{
    QTest::addColumn<QStringList>("onDisk"); // empty: no file yet
    QTest::addColumn<QString>("levelfile"); // relative to the test's folder, the current folder
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("verdict");

    // Taking the key is possible only once the edit puts it in the cell.
    const QStringList keyInTheCell{"[ITEMS]", "A key", "",
                                   "[LOCATION 1A]", "Cell.", "PATH E REQUIRES=A The door is locked.", "ITEM A",
                                   "START", "", "[COMBOS]", ""};
    QTest::newRow("an edit not saved") << CheckLevels::locked() << "locked.qw" << keyInTheCell
                                       << "Winnable in 2 commands (2 play states searched).";
    QTest::newRow("a saved level, unchanged") << CheckLevels::locked() << "locked.qw" << QStringList{}
                                              << "Cannot be won: every reachable play state (1) was explored.";
    // The chained level is found beside the path, which names no file yet.
    QTest::newRow("a new level, its chain beside it") << QStringList{} << "levels/new.qw"
                                                      << CheckLevels::chain("cellar.qw")
                                                      << "Winnable in 2 commands (2 play states searched).";
    QTest::newRow("a new level, in the current folder")
        << QStringList{} << "new.qw" << CheckLevels::chain("levels/cellar.qw")
        << "Winnable in 2 commands (2 play states searched).";
}

// The check reads the document as a save would write it, and leaves the
// document, its records, its modified state and the file on disk as they were.
void TestCheckLevel::checksWhatTheAuthorSees()
{
    QFETCH(QStringList, onDisk);
    QFETCH(QString, levelfile);
    QFETCH(QStringList, edits);
    QFETCH(QString, verdict);
    Studio studio;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(studio.folder.path()));
    const auto restore = qScopeGuard([&previous] { QDir::setCurrent(previous); });
    QVERIFY(QDir().mkpath("levels"));
    CheckFiles::write("levels", "cellar.qw", CheckLevels::cellar());

    LevelDocument &document = studio.map.document();
    document.levelfile = levelfile;
    if (!onDisk.isEmpty()) {
        CheckFiles::write(".", levelfile, onDisk);
        QCOMPARE(document.loadgame(levelfile), QString());
    }
    studio.enter(edits);
    // A narrative typed on two lines is held with its line break until a save.
    document.updategrid({9, 9}, LocationRecord(U"Far.\r\nAway.|"), 0);
    const bool modified = document.isModified();
    const std::string before = document.bytesToSave();
    const LocationRecord far = document.locdata({9, 9});
    const QByteArray file = TestFiles::read(levelfile);

    QVERIFY(studio.check());
    QCOMPARE(studio.verdict(), verdict);
    QCOMPARE(studio.checker().checkedBytes(), before);
    QCOMPARE(studio.checker().checkedPath(), levelfile);
    QCOMPARE(document.isModified(), modified);
    QCOMPARE(document.bytesToSave(), before);
    QVERIFY(document.locdata({9, 9}) == far);
    QCOMPARE(TestFiles::read(levelfile), file);
    QCOMPARE(QFileInfo::exists(levelfile), !onDisk.isEmpty());
    QVERIFY(studio.platform.events.isEmpty());

    // What was checked is what the save writes.
    QVERIFY(document.save().saved);
    QCOMPARE(TestFiles::read(levelfile).toStdString(), studio.checker().checkedBytes());
}

void TestCheckLevel::problemOpensItsLocation_data()
{
    QTest::addColumn<QString>("open"); // the dialog open before: "", "area" or "items"
    QTest::addColumn<bool>("areaStats");
    QTest::addColumn<QPoint>("location");

    QTest::newRow("opens Area Stats there") << "" << true << QPoint(1, 2);
    QTest::newRow("Area Stats stays on its location") << "area" << true << QPoint(3, 3);
    QTest::newRow("Item Management only comes to the front") << "items" << false << QPoint();
}

// As a click on the location's map button would.
void TestCheckLevel::problemOpensItsLocation()
{
    QFETCH(QString, open);
    QFETCH(bool, areaStats);
    QFETCH(QPoint, location);
    Studio studio;
    studio.map.show();
    studio.map.document().levelfile = studio.folder.filePath("broken.qw");
    studio.enter(CheckLevels::chain("nowhere.qw"));
    if (open == "area")
        studio.map.roomstats(3, 3);
    else if (open == "items")
        studio.map.manageItems();
    QVERIFY(studio.check());

    auto *problems = studio.checker().findChild<QTreeWidget *>("problemList");
    QCOMPARE(problems->topLevelItem(0)->text(1), "1B");
    problems->setCurrentItem(problems->topLevelItem(0));
    QTest::keyClick(problems, Qt::Key_Return);
    AreaStatsDialog &area = studio.map.areaStatsDialog();
    QCOMPARE(area.isVisible(), areaStats);
    QCOMPARE(studio.map.itemManagementDialog().isVisible(), open == "items");
    if (areaStats)
        QCOMPARE(QPoint(area.rowpos, area.colpos), location);
}

void TestCheckLevel::playWalkthrough_data()
{
    QTest::addColumn<QString>("levelfile");
    QTest::addColumn<bool>("saved"); // before the check
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("changeAfter"); // an edit after the check
    QTest::addColumn<bool>("starts"); // the platform starts programs
    QTest::addColumn<QString>("languages"); // the language file beside the studio; empty: the shipped one
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("typed"); // the walkthrough file; empty: no start

    const QStringList walk{"TAKE rope", "E", "TAKE hook", "COMBINE rope WITH hook", "S"};
    const QList<Answer> none;
    QTest::newRow("saved: plays at once") << "castle.qw" << true << none << false << true << "" << QStringList{}
                                          << QStringList{} << walk;
    QTest::newRow("not saved: saved first on Yes")
        << "castle.qw" << false << QList<Answer>{Answer::Yes} << false << true << "" << QStringList{SaveFirst}
        << QStringList{} << walk;
    QTest::newRow("not saved: nothing on No") << "castle.qw" << false << QList<Answer>{Answer::No} << false << true
                                              << "" << QStringList{SaveFirst} << QStringList{} << QStringList{};
    QTest::newRow("changed since the check") << "castle.qw" << true << none << true << true << "" << QStringList{}
                                             << QStringList{Changed} << QStringList{};
    QTest::newRow("the save fails") << "missing/castle.qw" << false << QList<Answer>{Answer::Yes} << false << true
                                    << "" << QStringList{SaveFirst}
                                    << QStringList{"Could not save the level to \"$DIR/missing/castle.qw\""}
                                    << QStringList{};
    QTest::newRow("the player does not start")
        << "castle.qw" << true << none << false << false << "" << QStringList{}
        << QStringList{"The game player could not be started to play the walkthrough.\nthe program could not be "
                       "started"}
        << walk;
    // The player asks for a language first; the check played the first.
    QTest::newRow("several languages") << "castle.qw" << true << none << false << true
                                       << QStringLiteral(QUILLMOOR_BIN_DIR "/languages/all.txt") << QStringList{}
                                       << QStringList{} << QStringList{"1"} + walk;
}

// "Play the Walkthrough" never saves without asking; it starts the player as
// the test launch does, with the walkthrough to type.
void TestCheckLevel::playWalkthrough()
{
    QFETCH(QString, levelfile);
    QFETCH(bool, saved);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, changeAfter);
    QFETCH(bool, starts);
    QFETCH(QString, languages);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, typed);
    Studio studio;
    QTemporaryDir beside;
    if (!languages.isEmpty()) {
        QVERIFY(QFile::copy(languages, beside.filePath("Language.txt")));
        studio.platform.folder = beside.path();
    }
    LevelDocument &document = studio.map.document();
    document.levelfile = studio.folder.filePath(levelfile);
    studio.enter(CheckLevels::grapple());
    if (saved)
        QVERIFY(document.save().saved);
    QVERIFY(studio.check());
    if (changeAfter)
        document.updategrid({9, 9}, LocationRecord(U"Somewhere else.|"), 0);
    studio.platform.answers.append(answers);
    studio.platform.startSucceeds = starts;
    auto *play = studio.checker().findChild<QPushButton *>("playButton");
    QVERIFY(play->isEnabled());
    play->click();

    QCOMPARE(studio.platform.texts(Kind::Ask), questions);
    // Each message as it begins: the reason the desktop gives may follow.
    const QStringList told = studio.platform.texts(Kind::Inform);
    messages.replaceInStrings("$DIR", studio.folder.path());
    QCOMPARE(told.size(), messages.size());
    for (qsizetype i = 0; i < told.size(); ++i)
        QVERIFY2(told.at(i).startsWith(messages.at(i)), qPrintable(told.at(i)));
    const QStringList started = studio.platform.texts(Kind::StartProgram);
    QCOMPARE(started.size(), typed.isEmpty() ? 0 : 1);
    if (typed.isEmpty())
        return;
    QCOMPARE(started.first(), QDir(studio.platform.folder).filePath("quillmoorplayer"));
    const auto launch = std::find_if(studio.platform.events.cbegin(), studio.platform.events.cend(),
                                     [](const ScriptedPlatform::Event &event) { return event.kind == Kind::StartProgram; });
    const QStringList arguments = launch->arguments;
    QCOMPARE(arguments.size(), 4);
    QCOMPARE(arguments.at(0), "--walkthrough");
    QCOMPARE(arguments.mid(2), (QStringList{"--", document.levelfile}));
    QCOMPARE(lines(arguments.at(1)), typed);
    // The player plays the level file: it holds the level as checked.
    QCOMPARE(TestFiles::read(document.levelfile).toStdString(), studio.checker().checkedBytes());
    QVERIFY(!document.isModified());
}

// The real player, given what the studio gives it, wins the game with the
// walkthrough alone; only the end-of-game question is answered.
void TestCheckLevel::walkthroughWinsInThePlayer()
{
    QVERIFY2(QFileInfo(Player).isExecutable(), qPrintable(Player + " is missing"));
    Studio studio;
    studio.map.document().levelfile = studio.folder.filePath("castle.qw");
    studio.enter(CheckLevels::grapple());
    QVERIFY(studio.check());
    studio.platform.answers.enqueue(Answer::Yes);
    studio.checker().findChild<QPushButton *>("playButton")->click();
    QCOMPARE(studio.platform.texts(Kind::StartProgram), QStringList{Player});

    const ToolRun game = ToolRun::of(Player, QStringList{"--tty"} + studio.platform.events.last().arguments, {}, "y\n");
    const QString output = QString::fromUtf8(game.out);
    QCOMPARE(QString::fromUtf8(game.err), QString());
    QCOMPARE(game.exitCode, 0);
    QVERIFY2(output.endsWith(">S\nTop of the wall.\nYou have completed the adventure. Well done!\n"
                             "Do you want to end the game? (y/n) y\n"),
             qPrintable(output));
}

void TestCheckLevel::playIntoADeadEnd_data()
{
    QTest::addColumn<int>("deadEnd");
    QTest::addColumn<QStringList>("typed");
    QTest::newRow("the first") << 0 << QStringList{"E", "TAKE flint", "TAKE oil", "COMBINE flint WITH oil"};
    QTest::newRow("the second") << 1
                                << QStringList{"TAKE taper", "E", "TAKE flint", "TAKE oil", "COMBINE taper WITH flint",
                                               "COMBINE lit-taper WITH oil"};
}

// "Play into It" starts the player as "Play the Walkthrough" does, typing the
// shortest way into the chosen dead end; Enter on it opens its location.
void TestCheckLevel::playIntoADeadEnd()
{
    QFETCH(int, deadEnd);
    QFETCH(QStringList, typed);
    Studio studio;
    const QString level = studio.folder.filePath("CELLAR.qw");
    QVERIFY(QFile::copy(QStringLiteral(QUILLMOOR_SOURCE_DIR "/data/stuck/CELLAR.qw"), level));
    LevelDocument &document = studio.map.document();
    document.levelfile = level;
    QCOMPARE(document.loadgame(level), QString());
    studio.map.show();
    QVERIFY(studio.check());
    auto *deadEnds = studio.checker().findChild<QTreeWidget *>("deadEndList");
    deadEnds->setCurrentItem(deadEnds->topLevelItem(deadEnd));
    QTest::keyClick(deadEnds, Qt::Key_Return);
    QVERIFY(studio.map.areaStatsDialog().isVisible());
    QCOMPARE(QPoint(studio.map.areaStatsDialog().rowpos, studio.map.areaStatsDialog().colpos), QPoint(1, 2));

    studio.checker().findChild<QPushButton *>("playIntoButton")->click();
    QCOMPARE(studio.platform.texts(Kind::StartProgram), QStringList{studio.platform.folder + "/quillmoorplayer"});
    const QStringList arguments = studio.platform.events.last().arguments;
    QCOMPARE(arguments.size(), 4);
    QCOMPARE(arguments.at(0), "--walkthrough");
    QCOMPARE(lines(arguments.at(1)), typed);
    QCOMPARE(arguments.mid(2), (QStringList{"--", level}));
}

void TestCheckLevel::closingTheStudioStopsTheCheck()
{
    Studio studio;
    const QString level = CheckFiles::write(studio.folder.path(), "endless.qw", CheckLevels::endless());
    studio.map.document().levelfile = level;
    QCOMPARE(studio.map.document().loadgame(level), QString());
    studio.map.show();
    studio.map.findChild<QPushButton *>("checkButton")->click();
    QVERIFY(studio.checker().running());
    QTest::qWait(200);
    QVERIFY(studio.map.close());
    QVERIFY(!studio.checker().isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!studio.checker().running(), 30000);
    QVERIFY(studio.verdict().startsWith("Unknown: stopped after "));
    QVERIFY(studio.platform.events.isEmpty());
}

QTEST_MAIN(TestCheckLevel)
#include "tst_checklevel.moc"
