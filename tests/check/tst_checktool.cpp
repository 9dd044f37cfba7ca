// SPDX-License-Identifier: MIT
#include "checkfiles.h"
#include "player/gamefiles.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tool = QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorcheck");
const QString Player = QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorplayer");

struct Run
{
    QString out;
    QString err;
    int status = -1;
};

Run run(const QString &program, const QStringList &arguments, const QString &folder, const QByteArray &input = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    Run result;
    if (!process.waitForStarted(10000))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        return result;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    result.status = process.exitCode();
    return result;
}

// The lamp dropped in the hall stays behind its one-way door.
const QStringList OneWay{"[ITEMS]", "A lamp", "", "[LOCATION 1A]", "Porch.", "PATH E REQUIRES=A Too dark.", "ITEM A",
                         "START", "", "[LOCATION 1B]", "Hall.", "PATH E", "", "[LOCATION 1C]", "Cellar.",
                         "PATH E REQUIRES=A Too dark.", "", "[LOCATION 1D]", "Way out.", "ENDGAME", "",
                         "[LOCATION 5E]", "Nowhere.", ""};

// Going south from the start falls into a pit with no way out.
const QStringList Pit{"[ITEMS]", "A a1", "B b2", "C c3", "D d4", "", "[LOCATION 1A]", "Start.", "PATH E", "PATH S",
                      "ITEM A", "ITEM B", "ITEM C", "ITEM D", "START", "", "[LOCATION 1B]", "End.", "PATH W",
                      "ENDGAME", "", "[LOCATION 2A]", "Pit.", ""};

const QStringList Won{"[LOCATION 1A]", "Start.", "PATH E", "START", "", "[LOCATION 1B]", "End.", "PATH W",
                      "ENDGAME", ""};

} // namespace

class TestCheckTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void statuses_data();
    void statuses();
    void json();
    void bundledLevels_data();
    void bundledLevels();
    void walkthroughWinsInThePlayer_data();
    void walkthroughWinsInThePlayer();
    void wayToGetStuckInThePlayer();

private:
    QTemporaryDir dir;
};

void TestCheckTool::initTestCase()
{
    QVERIFY(dir.isValid());
    CheckFiles::write(dir.path(), "won.qw", Won);
    CheckFiles::write(dir.path(), "lost.qw", QStringList(Won).replaceInStrings("ENDGAME", "A dead end."));
    CheckFiles::write(dir.path(), "warned.qw", QStringList(Won).replaceInStrings("PATH W", "A wall."));
    CheckFiles::write(dir.path(), "faulty.qw", QStringList(Won).replaceInStrings("Start.", "Start. PATH N"));
    CheckFiles::write(dir.path(), "oneway.qw", OneWay);
    CheckFiles::write(dir.path(), "pit.qw", Pit);
    TestFiles::write(dir.filePath("notes.txt"), GameFiles::crlf({"Notes, not a language."}));
    TestFiles::write(dir.filePath("short.txt"), GameFiles::crlf({"[English]", "Only one message."}));
    TestFiles::write(dir.filePath("lower.txt"), GameFiles::crlf(QStringList{"[English]"} + QStringList(27, "x")));
}

void TestCheckTool::statuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("winnable") << QStringList{"won.qw"} << 0
                              << "No problems found.\n\nWinnable: the shortest walkthrough takes 1 command (1 play "
                                 "state searched).\n1. E\n\nNo way to get stuck: from every reachable state the game "
                                 "can still be won.\n"
                              << "";
    QTest::newRow("warnings only") << QStringList{"warned.qw"} << 0 << "1 warning." << "";
    QTest::newRow("not winnable") << QStringList{"lost.qw"} << 1
                                  << "Warning: No location ends the game (none has an ENDGAME line), so the game "
                                     "cannot be won.\n\n0 errors, 1 warning.\n\nNot winnable: no way from the start "
                                     "gets to an end-of-game location (2 play states reached, all tried).\n"
                                  << "";
    QTest::newRow("a way to get stuck")
        << QStringList{"oneway.qw"} << 0
        << "4. E\n\n1 way to get stuck:\n1) In 1B, E: the game can no longer be won (1 play state). Shortest way in: "
           "TAKE lamp, E, DROP lamp, E"
        << "";
    QTest::newRow("ways to get stuck at the limit")
        << QStringList{"--max-states=40", "pit.qw"} << 0
        << "1) In 1A, S: the game can no longer be won (1 play state). Shortest way in: S\nThere may be more: the "
           "search stopped at its limit of 40 play states before it explored every state."
        << "";
    QTest::newRow("not known at the limit")
        << QStringList{"--max-states=5", "oneway.qw"} << 0
        << "Whether the player can get stuck is not known: the search stopped at its limit of 5 play states before "
           "it explored every state."
        << "";
    QTest::newRow("errors") << QStringList{"faulty.qw"} << 1 << "Error at 1A, line 13: The exit north" << "";
    QTest::newRow("the limit") << QStringList{"--max-states", "1", "lost.qw"} << 1
                               << "Unknown: the search stopped at its limit of 1 play state" << "";
    QTest::newRow("options after --") << QStringList{"--json", "--", "won.qw"} << 0 << "\"winnable\": true" << "";
    QTest::newRow("the language file alone") << QStringList{"--language", "notes.txt"} << 1
                                             << "is not a language file (no language block)" << "";
    QTest::newRow("a language file with warnings") << QStringList{"--language=lower.txt"} << 0 << "not in capitals"
                                                    << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: quillmoorcheck [OPTIONS] [--] LEVEL.qw" << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "quillmoorcheck 1.0.1\n" << "";

    QTest::newRow("no level") << QStringList{} << 2 << "" << "name a level file to check";
    QTest::newRow("two levels") << QStringList{"won.qw", "lost.qw"} << 2 << "" << "name one level file";
    QTest::newRow("unknown option") << QStringList{"--fast", "won.qw"} << 2 << "" << "unknown option \"--fast\"";
    QTest::newRow("a bad limit") << QStringList{"--max-states", "many", "won.qw"} << 2 << "" << "--max-states needs";
    QTest::newRow("a missing level") << QStringList{"gone.qw"} << 2 << "" << "Cannot open the level file \"gone.qw\"";
    QTest::newRow("a missing language file") << QStringList{"--language", "gone.txt", "won.qw"} << 2 << ""
                                             << "Cannot open the language file \"gone.txt\"";
    QTest::newRow("a language file cut short") << QStringList{"--language", "short.txt", "won.qw"} << 2 << ""
                                               << "ends after 1 of its 27 messages";
    QTest::newRow("a language the file lacks")
        << QStringList{"--language", CheckFiles::all(), "--language-number", "5", "won.qw"} << 2 << ""
        << "holds 4 languages, so it has no language 5";
    QTest::newRow("language number 0") << QStringList{"--language-number", "0", "won.qw"} << 2 << ""
                                       << "--language-number needs";
}

void TestCheckTool::statuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const Run result = run(Tool, arguments, dir.path());
    QCOMPARE(result.status, status);
    if (out.endsWith('\n'))
        QCOMPARE(result.out, out);
    else
        QVERIFY2(result.out.contains(out), qPrintable(result.out));
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
    QCOMPARE(result.err.isEmpty(), err.isEmpty());
}

// One object with exactly its fields, and each problem with exactly its four.
void TestCheckTool::json()
{
    const Run faulty = run(Tool, {"--json", "faulty.qw"}, dir.path());
    QCOMPARE(faulty.status, 1);
    QJsonParseError fault;
    const QJsonDocument document = QJsonDocument::fromJson(faulty.out.toUtf8(), &fault);
    QCOMPARE(fault.error, QJsonParseError::NoError);
    const QJsonObject report = document.object();
    QCOMPARE(report.keys(), (QStringList{"canGetStuck", "deadEnds", "problems", "states", "unreached",
                                         "unreachedInChain", "walkthrough", "winnable"}));
    QCOMPARE(report["winnable"], QJsonValue(true));
    QCOMPARE(report["walkthrough"].toArray(), (QJsonArray{"E"}));
    QCOMPARE(report["states"], QJsonValue(1));
    const QJsonArray problems = report["problems"].toArray();
    // The exit off the map and the narrative that makes it.
    QCOMPARE(problems.size(), 2);
    const QJsonObject problem = problems[0].toObject();
    QCOMPARE(problem.keys(), (QStringList{"line", "location", "severity", "text"}));
    QCOMPARE(problem["severity"], QJsonValue("error"));
    QCOMPARE(problem["location"], QJsonValue("1A"));
    QCOMPARE(problem["line"], QJsonValue(13));
    QVERIFY(problem["text"].toString().startsWith("The exit north from 1A leads off the map"));

    // No location and no line are null; no verdict is null.
    TestFiles::write(dir.filePath("quoted.qw"), TestFiles::level({"[ITEMS]", "A say-\"hi\"\\", "", "[LOCATION 1A]",
                                                                 "A.", "PATH E", "START", "", "[LOCATION 1B]", "B.",
                                                                 "PATH W", ""}));
    const Run quoted = run(Tool, {"--json", "--max-states=1", "quoted.qw"}, dir.path());
    const QJsonObject unknown = QJsonDocument::fromJson(quoted.out.toUtf8(), &fault).object();
    QCOMPARE(fault.error, QJsonParseError::NoError);
    QCOMPARE(unknown["winnable"], QJsonValue(QJsonValue::Null));
    QCOMPARE(unknown["walkthrough"].toArray(), QJsonArray());
    const QJsonObject nowhere = unknown["problems"].toArray()[0].toObject();
    QCOMPARE(nowhere["location"], QJsonValue(QJsonValue::Null));
    QCOMPARE(nowhere["line"], QJsonValue(13));
    QVERIFY(nowhere["text"].toString().contains("Item A (say-\"hi\"\\) lies nowhere"));
    const QJsonObject noEnd = unknown["problems"].toArray()[1].toObject();
    QCOMPARE(noEnd["line"], QJsonValue(QJsonValue::Null));

    const Run language = run(Tool, {"--json", "--language", "lower.txt"}, dir.path());
    const QJsonObject alone = QJsonDocument::fromJson(language.out.toUtf8()).object();
    QCOMPARE(alone["winnable"], QJsonValue(QJsonValue::Null));
    QCOMPARE(alone["states"], QJsonValue(0));
    QVERIFY(!alone["problems"].toArray().isEmpty());
}

// Every level shipped passes: no errors, winnable. Checked from another
// folder, with the language file the player uses.
void TestCheckTool::bundledLevels_data()
{
    QTest::addColumn<QString>("level");
    const QDir data(QStringLiteral(QUILLMOOR_SOURCE_DIR "/data"));
    // The guide's example game lies in a folder of its own.
    QStringList levels;
    for (QDirIterator it(data.path(), {"*.qw"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        levels.append(data.relativeFilePath(it.next()));
    levels.sort();
    QVERIFY(levels.size() >= 4);
    for (const QString &level : levels)
        QTest::newRow(qPrintable(level)) << data.filePath(level);
}

void TestCheckTool::bundledLevels()
{
    QFETCH(QString, level);
    const Run result = run(Tool, {level}, dir.path());
    QVERIFY2(result.status == 0, qPrintable(result.out + result.err));
    QVERIFY(result.out.startsWith("No problems found.\n"));
    QVERIFY(result.out.contains("Winnable: the shortest walkthrough takes"));
}

// The walkthrough piped into the player in the terminal wins the game.
void TestCheckTool::walkthroughWinsInThePlayer_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("won");

    QTest::newRow("the bundled adventure") << QStringLiteral(QUILLMOOR_BIN_DIR "/QUILLMOOR.qw") << CheckFiles::english()
                                           << 1 << "You have completed the adventure. Well done!";
    QTest::newRow("the bundled adventure in German")
        << QStringLiteral(QUILLMOOR_BIN_DIR "/QUILLMOOR.qw") << CheckFiles::all() << 2 << "Du hast das Abenteuer";
}

void TestCheckTool::walkthroughWinsInThePlayer()
{
    QFETCH(QString, level);
    QFETCH(QString, language);
    QFETCH(int, number);
    QFETCH(QString, won);

    const Run check =
        run(Tool, {"--json", "--language", language, "--language-number", QString::number(number), level}, dir.path());
    QCOMPARE(check.status, 0);
    QByteArray typed = number > 1 ? QByteArray::number(number) + '\n' : QByteArray();
    const QJsonArray walkthrough = QJsonDocument::fromJson(check.out.toUtf8()).object()["walkthrough"].toArray();
    QVERIFY(!walkthrough.isEmpty());
    for (const QJsonValue &command : walkthrough)
        typed += command.toString().toUtf8() + '\n';

    const Run played = run(Player, {"--tty", "--language", language, level}, dir.path(), typed);
    QCOMPARE(played.status, 0);
    QCOMPARE(played.err, QString());
    // The end comes with the last command, and no command went unheard.
    QVERIFY(played.out.contains(won));
    QCOMPARE(played.out.count(won), 1);
    QVERIFY(played.out.trimmed().endsWith("(y/n)"));
}

// A way to get stuck in JSON, as a warning too; its walkthrough, piped into
// the player, leaves the game going on without an end.
void TestCheckTool::wayToGetStuckInThePlayer()
{
    const Run check = run(Tool, {"--json", "oneway.qw"}, dir.path());
    QCOMPARE(check.status, 0);
    const QJsonObject report = QJsonDocument::fromJson(check.out.toUtf8()).object();
    QCOMPARE(report["canGetStuck"], QJsonValue(true));
    const QJsonArray deadEnds = report["deadEnds"].toArray();
    QCOMPARE(deadEnds.size(), 1);
    const QJsonObject way = deadEnds[0].toObject();
    QCOMPARE(way.keys(), (QStringList{"command", "error", "file", "location", "states", "walkthrough"}));
    QCOMPARE(way["location"], QJsonValue("1B"));
    QCOMPARE(way["file"], QJsonValue("oneway.qw"));
    QCOMPARE(way["command"], QJsonValue("E"));
    QCOMPARE(way["walkthrough"].toArray(), (QJsonArray{"TAKE lamp", "E", "DROP lamp", "E"}));
    QCOMPARE(way["states"], QJsonValue(1));
    QCOMPARE(way["error"], QJsonValue(QJsonValue::Null));
    const QJsonObject unreached = report["unreached"].toObject();
    QCOMPARE(unreached["locations"].toArray(), QJsonArray{"5E"});
    QCOMPARE(unreached["items"].toArray(), QJsonArray());
    QCOMPARE(report["unreachedInChain"].toArray(), QJsonArray());
    const QJsonObject warning = report["problems"].toArray().last().toObject();
    QCOMPARE(warning["location"], QJsonValue("1B"));
    QCOMPARE(warning["line"], QJsonValue(21));
    QCOMPARE(warning["text"], QJsonValue("In 1B, E: the game can no longer be won (1 play state). Shortest way in: "
                                         "TAKE lamp, E, DROP lamp, E"));

    QByteArray typed;
    for (const QJsonValue &command : way["walkthrough"].toArray())
        typed += command.toString().toUtf8() + '\n';
    const Run played = run(Player, {"--tty", "--language", CheckFiles::english(), "oneway.qw"}, dir.path(), typed);
    QCOMPARE(played.status, 0);
    QVERIFY(!played.out.contains("(y/n)"));
    QVERIFY(played.out.contains(">E\nCellar."));
    QVERIFY(played.out.trimmed().endsWith('>'));
}

QTEST_GUILESS_MAIN(TestCheckTool)
#include "tst_checktool.moc"
