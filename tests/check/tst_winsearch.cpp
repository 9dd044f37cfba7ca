// SPDX-License-Identifier: MIT
#include "checkfiles.h"
#include "levelcheck.h"
#include "player/gamefiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A level one exit east from its end, the end's block given.
QStringList twoRooms(const QStringList &end)
{
    return QStringList{"[ITEMS]", "", "[LOCATION 1A]", "Start.", "PATH E", "START", "", "[LOCATION 1B]"} + end
        + QStringList{"", "[COMBOS]", ""};
}

// Rope at the start and a hook east of it make the grapple that opens the
// way south to the end.
const QStringList Grapple{
    "[ITEMS]", "A rope", "B hook", "C grapple", "",
    "[LOCATION 1A]", "Cell.", "PATH E", "ITEM A", "START", "",
    "[LOCATION 1B]", "Yard.", "PATH S REQUIRES=C The wall is too high.", "PATH W", "ITEM B", "",
    "[LOCATION 2B]", "Top of the wall.", "PATH N", "ENDGAME", "",
    "[COMBOS]", "A+B=C", "",
};

} // namespace

class TestWinSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verdicts_data();
    void verdicts();
    void chains_data();
    void chains();
    void idleCommand_data();
    void idleCommand();
    void walkthroughWords_data();
    void walkthroughWords();
    void otherLanguage();
    void unsavedLevel();
};

// Each level: the verdict, and for a winnable one its shortest walkthrough,
// which is also played through the engine to the end.
void TestWinSearch::verdicts_data()
{
    QTest::addColumn<QStringList>("level");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QStringList>("walkthrough");
    QTest::addColumn<int>("maxStates");

    QTest::newRow("one step") << twoRooms({"End.", "PATH W", "ENDGAME"}) << "winnable" << QStringList{"E"} << 100;
    QTest::newRow("won at the start")
        << QStringList{"[LOCATION 1A]", "Here.", "ENDGAME", "START", ""} << "winnable" << QStringList{} << 100;
    QTest::newRow("a rule makes the key") << Grapple << "winnable"
                                          << QStringList{"TAKE rope", "E", "TAKE hook", "COMBINE rope WITH hook", "S"}
                                          << 1000;
    QTest::newRow("one-way exits round a block")
        << QStringList{"[LOCATION 1A]", "A.", "PATH S", "START", "", "[LOCATION 2A]", "B.", "PATH E", "",
                       "[LOCATION 2B]", "C.", "PATH N", "", "[LOCATION 1B]", "D.", "PATH E", "",
                       "[LOCATION 1C]", "End.", "ENDGAME", ""}
        << "winnable" << QStringList{"S", "E", "N", "E"} << 100;
    QTest::newRow("the key must be taken before the one-way exit")
        << QStringList{"[ITEMS]", "A key", "", "[LOCATION 1A]", "A.", "PATH E", "ITEM A", "START", "",
                       "[LOCATION 1B]", "B.", "PATH E REQUIRES=A Locked.", "", "[LOCATION 1C]", "End.", "PATH W",
                       "ENDGAME", ""}
        << "winnable" << QStringList{"TAKE key", "E", "E"} << 100;
    // With rope, rope-ladder and hook carried, every word that names the
    // rope names the ladder too: the ladder is put down for the combine.
    QTest::newRow("an item dropped and taken back")
        << QStringList{"[ITEMS]", "A rope", "B rope-ladder", "C hook", "D grapple", "",
                       "[LOCATION 1A]", "Foot of the cliff.", "PATH E REQUIRES=B Too high.", "ITEM A", "ITEM B",
                       "START", "",
                       "[LOCATION 1B]", "Ledge.", "PATH W", "PATH S REQUIRES=D Too steep.", "ITEM C", "",
                       "[LOCATION 2B]", "Gully.", "PATH N", "PATH E REQUIRES=B Too high.", "",
                       "[LOCATION 2C]", "Summit.", "ENDGAME", "",
                       "[COMBOS]", "A+C=D", ""}
        << "winnable"
        << QStringList{"TAKE rope", "TAKE rope-ladder", "E", "TAKE hook", "DROP rope-ladder",
                       "COMBINE rope WITH hook", "TAKE rope-ladder", "S", "E"}
        << 100000;
    QTest::newRow("one take takes both items of a name")
        << QStringList{"[ITEMS]", "A key", "B key", "", "[LOCATION 1A]", "A.", "PATH E REQUIRES=A Locked.", "ITEM A",
                       "ITEM B", "START", "", "[LOCATION 1B]", "B.", "PATH E REQUIRES=B Locked.", "",
                       "[LOCATION 1C]", "End.", "ENDGAME", ""}
        << "winnable" << QStringList{"TAKE key", "E", "E"} << 100;
    // "WITH" is part of "withered-rose": the combine says AND instead.
    QTest::newRow("a combine worded round a name")
        << QStringList{"[ITEMS]", "A withered-rose", "B thorn", "C crown", "", "[LOCATION 1A]", "A.",
                       "PATH E REQUIRES=C Locked.", "ITEM A", "ITEM B", "START", "", "[LOCATION 1B]", "End.",
                       "ENDGAME", "", "[COMBOS]", "A+B=C", ""}
        << "winnable" << QStringList{"TAKE withered-rose", "TAKE thorn", "COMBINE withered-rose AND thorn", "E"}
        << 100;
    QTest::newRow("a narrative that reads as an exit")
        << QStringList{"[LOCATION 1A]", "Start. A sign reads PATH E.", "START", "", "[LOCATION 1B]", "End.",
                       "ENDGAME", ""}
        << "winnable" << QStringList{"E"} << 100;

    QTest::newRow("key behind its own door")
        << QStringList{"[ITEMS]", "A key", "", "[LOCATION 1A]", "A.", "PATH E REQUIRES=A Locked.", "START", "",
                       "[LOCATION 1B]", "B.", "PATH W", "PATH E", "ITEM A", "", "[LOCATION 1C]", "End.", "PATH W",
                       "ENDGAME", ""}
        << "unwinnable" << QStringList{} << 1000;
    QTest::newRow("an item no rule makes")
        << QStringList{"[ITEMS]", "A apple", "B bridge", "", "[LOCATION 1A]", "A.", "PATH E REQUIRES=B No way.",
                       "ITEM A", "START", "", "[LOCATION 1B]", "End.", "ENDGAME", "", "[COMBOS]", "A+A=B", ""}
        << "unwinnable" << QStringList{} << 1000;
    QTest::newRow("an end no exit reaches")
        << QStringList{"[LOCATION 1A]", "A.", "PATH E", "START", "", "[LOCATION 1B]", "B.", "PATH W", "",
                       "[LOCATION 3C]", "End.", "ENDGAME", ""}
        << "unwinnable" << QStringList{} << 1000;
    QTest::newRow("an exit off the map") << QStringList{"[LOCATION 1A]", "A.", "PATH N", "START", ""}
                                         << "unwinnable" << QStringList{} << 1000;
    QTest::newRow("no start") << QStringList{"[LOCATION 1A]", "A.", "ENDGAME", ""} << "unwinnable" << QStringList{}
                              << 1000;
    QTest::newRow("endless items: take and drop in any order")
        << QStringList{"[ITEMS]", "A a", "B b", "C c", "", "[LOCATION 1A]", "A.", "PATH E", "ITEM A", "ITEM B",
                       "ITEM C", "START", "", "[LOCATION 1B]", "B.", "PATH W", ""}
        << "unwinnable" << QStringList{} << 100000;
    QTest::newRow("the limit reached") << Grapple << "unknown" << QStringList{} << 3;
}

void TestWinSearch::verdicts()
{
    QFETCH(QStringList, level);
    QFETCH(QString, verdict);
    QFETCH(QStringList, walkthrough);
    QFETCH(int, maxStates);

    QTemporaryDir dir;
    const QString path = CheckFiles::write(dir.path(), "a.qw", level);
    const CheckReport report =
        LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, std::size_t(maxStates)});
    QVERIFY2(report.failure.empty(), report.failure.c_str());
    QVERIFY(report.searched);
    const QString found = !report.winnable ? "unknown" : *report.winnable ? "winnable" : "unwinnable";
    QCOMPARE(found, verdict);
    QStringList commands;
    for (const std::string &command : report.walkthrough)
        commands << QString::fromStdString(command);
    QCOMPARE(commands, walkthrough);
    if (verdict == "winnable")
        QCOMPARE(CheckFiles::playsToEnd(path, commands), QString());
    if (verdict == "unknown")
        QCOMPARE(report.states, std::size_t(maxStates));
}

// Levels that load others: a.qw is checked, b.qw lies beside it.
void TestWinSearch::chains_data()
{
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("loads");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QStringList>("walkthrough");

    const QStringList gem{"[ITEMS]", "A gem", "", "[LOCATION 5E]", "Hall.", "PATH N REQUIRES=A Dark.", "ITEM A",
                          "START", "", "[LOCATION 4E]", "Throne.", "PATH S", "ENDGAME", ""};
    QTest::newRow("on to a second level") << gem << "b.qw" << "winnable" << QStringList{"E", "TAKE gem", "N"};
    // The end is asked only when a turn describes it: any command does.
    QTest::newRow("a second level that starts at its end")
        << QStringList{"[LOCATION 5E]", "Home.", "ENDGAME", "START", ""} << "b.qw" << "winnable"
        << QStringList{"E", "I"};
    // The carried key is lost on the way; the second level has none.
    QTest::newRow("the inventory is lost on loading")
        << QStringList{"[LOCATION 5E]", "Hall.", "PATH N REQUIRES=A Dark.", "START", "", "[LOCATION 4E]", "End.",
                       "ENDGAME", ""}
        << "b.qw" << "unwinnable" << QStringList{};
    QTest::newRow("a chain that comes back")
        << QStringList{"[LOCATION 5E]", "Hall.", "PATH E", "START", "", "[LOCATION 5F]", "Back.",
                       "LOADLEVEL a.qw COMMENT=Round again.", ""}
        << "b.qw" << "unwinnable" << QStringList{};
    QTest::newRow("a level that is not there") << gem << "missing.qw" << "unwinnable" << QStringList{};
}

void TestWinSearch::chains()
{
    QFETCH(QStringList, second);
    QFETCH(QString, loads);
    QFETCH(QString, verdict);
    QFETCH(QStringList, walkthrough);

    QTemporaryDir dir;
    const QString path = CheckFiles::write(
        dir.path(), "a.qw",
        {"[ITEMS]", "A key", "", "[LOCATION 1A]", "Start.", "PATH E", "ITEM A", "START", "", "[LOCATION 1B]", "Gate.",
         "PATH W", "LOADLEVEL " + loads + " COMMENT=On you go.", "", "[COMBOS]", ""});
    CheckFiles::write(dir.path(), "b.qw", second);
    // From another folder: the chained level is found beside the first.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    const CheckReport report =
        LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, 100000});
    QStringList commands;
    for (const std::string &command : report.walkthrough)
        commands << QString::fromStdString(command);
    const QString played = verdict == "winnable" ? CheckFiles::playsToEnd(path, commands) : QString();
    QDir::setCurrent(before);

    QVERIFY2(report.failure.empty(), report.failure.c_str());
    QCOMPARE(report.winnable.has_value(), true);
    QCOMPARE(*report.winnable ? QString("winnable") : QString("unwinnable"), verdict);
    QCOMPARE(commands, walkthrough);
    QCOMPARE(played, QString());
}

// A level loaded at its end asks only after the next turn: the command that
// lets a turn go by must not move or ask to quit.
void TestWinSearch::idleCommand_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("otherList");
    QTest::addColumn<QString>("otherWords");
    QTest::addColumn<QString>("idle");

    QTest::newRow("the inventory word") << 24 << "I|INVENTORY" << 23 << "HELP|?" << "I";
    QTest::newRow("a quit word is passed over") << 24 << "Q|I" << 25 << "Q|QUIT" << "I";
    QTest::newRow("then the help word") << 24 << "QUIT" << 23 << "QUIT|?" << "?";
    QTest::newRow("else an empty line") << 24 << "N|e" << 23 << "S" << "";
    QTest::newRow("not one a take word begins") << 24 << "GETINV|I" << 20 << "TAKE |GET" << "I";
}

void TestWinSearch::idleCommand()
{
    QFETCH(int, list);
    QFETCH(QString, words);
    QFETCH(int, otherList);
    QFETCH(QString, otherWords);
    QFETCH(QString, idle);

    QTemporaryDir dir;
    QStringList messages = GameFiles::english();
    messages[list - 1] = words;
    messages[otherList - 1] = otherWords;
    const QString language = dir.filePath("Language.txt");
    TestFiles::write(language, GameFiles::language({{"English", messages}}));
    const QString path = CheckFiles::write(dir.path(), "a.qw",
                                           {"[LOCATION 1A]", "Start.", "PATH E", "START", "", "[LOCATION 1B]",
                                            "Gate.", "LOADLEVEL b.qw COMMENT=On.", ""});
    CheckFiles::write(dir.path(), "b.qw", {"[LOCATION 5E]", "Home.", "PATH N", "ENDGAME", "START", "",
                                           "[LOCATION 4E]", "Hill.", "PATH S", ""});
    const CheckReport report = LevelCheck::checkFile(path.toStdString(), {language.toStdString(), 1, 1000});
    QVERIFY2(report.failure.empty(), report.failure.c_str());
    QCOMPARE(report.walkthrough, (std::vector<std::string>{"E", idle.toStdString()}));
    QCOMPARE(CheckFiles::playsToEnd(path, {"E", idle}, language), QString());
}

// The walkthrough is written in the words the player reads as each command,
// so a change to the language changes them; words that a list tried earlier
// would take are not used, as the walkthrough must do what the search did.
void TestWinSearch::walkthroughWords_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QStringList>("walkthrough");

    QTest::newRow("a take word a drop word begins")
        << 20 << "DROPIT|TAKE " << QStringList{"TAKE rope", "E", "TAKE hook", "COMBINE rope WITH hook", "S"};
    QTest::newRow("an east word that is also north's")
        << 17 << "N|east|EAST" << QStringList{"TAKE rope", "EAST", "TAKE hook", "COMBINE rope WITH hook", "S"};
    QTest::newRow("a combine word a take word begins")
        << 22 << "TAKEBOTH|USE " << QStringList{"TAKE rope", "E", "TAKE hook", "USE rope WITH hook", "S"};
    QTest::newRow("a take list with a new first word")
        << 20 << "GRAB|TAKE " << QStringList{"GRAB rope", "E", "GRAB hook", "COMBINE rope WITH hook", "S"};
    QTest::newRow("a connector that names an item")
        << 21 << "ROPE/AND" << QStringList{"TAKE rope", "E", "TAKE hook", "COMBINE rope AND hook", "S"};
}

void TestWinSearch::walkthroughWords()
{
    QFETCH(int, list);
    QFETCH(QString, words);
    QFETCH(QStringList, walkthrough);

    QTemporaryDir dir;
    // Drop and take words that begin any command that starts with them.
    QStringList messages = GameFiles::english();
    messages[18] = "DROP|PUT ";
    messages[19] = "TAKE|GET ";
    messages[list - 1] = words;
    const QString language = dir.filePath("Language.txt");
    TestFiles::write(language, GameFiles::language({{"English", messages}}));
    const QString path = CheckFiles::write(dir.path(), "a.qw", Grapple);
    const CheckReport report = LevelCheck::checkFile(path.toStdString(), {language.toStdString(), 1, 1000});
    QStringList commands;
    for (const std::string &command : report.walkthrough)
        commands << QString::fromStdString(command);
    QCOMPARE(commands, walkthrough);
    QCOMPARE(CheckFiles::playsToEnd(path, commands, language), QString());
}

// The walkthrough is written in the chosen language's words.
void TestWinSearch::otherLanguage()
{
    QTemporaryDir dir;
    const QString path = CheckFiles::write(dir.path(), "a.qw", Grapple);
    const CheckReport report = LevelCheck::checkFile(path.toStdString(), {CheckFiles::all().toStdString(), 2, 1000});
    QVERIFY2(report.failure.empty(), report.failure.c_str());
    QStringList commands;
    for (const std::string &command : report.walkthrough)
        commands << QString::fromStdString(command);
    QCOMPARE(commands, (QStringList{"NIMM rope", "O", "NIMM hook", "KOMBINIERE rope MIT hook", "S"}));
    QCOMPARE(CheckFiles::playsToEnd(path, commands, CheckFiles::all(), 2), QString());

    const CheckReport none = LevelCheck::checkFile(path.toStdString(), {CheckFiles::all().toStdString(), 5, 1000});
    QVERIFY(!none.failure.empty());
    QCOMPARE(none.exitStatus(), 2);
}

// What the studio holds in memory is checked, not the file on disk.
void TestWinSearch::unsavedLevel()
{
    QTemporaryDir dir;
    const QString path = CheckFiles::write(dir.path(), "a.qw", twoRooms({"B.", "PATH W"}));
    const QByteArray edited = TestFiles::level(twoRooms({"End.", "PATH W", "ENDGAME"}));
    const CheckReport report = LevelCheck::checkBytes(edited.toStdString(), path.toStdString(),
                                                      {CheckFiles::english().toStdString(), 1, 1000});
    QCOMPARE(report.winnable, std::optional<bool>(true));
    QCOMPARE(report.walkthrough, std::vector<std::string>{"E"});
    const CheckReport saved = LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, 1000});
    QCOMPARE(saved.winnable, std::optional<bool>(false));
}

QTEST_GUILESS_MAIN(TestWinSearch)
#include "tst_winsearch.moc"
