// SPDX-License-Identifier: MIT
#include "checkfiles.h"
#include "levelcheck.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The end of a level that is otherwise fine: 1B east of the start.
const QStringList End{"[LOCATION 1B]", "End.", "PATH W", "ENDGAME", ""};

QStringList startWith(const QStringList &tags)
{
    return QStringList{"[LOCATION 1A]", "Start."} + tags + QStringList{"START", ""};
}

} // namespace

class TestLevelLint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void problems_data();
    void problems();
    void chainedLevel();
};

// Each problem is written "severity location line fragment", the location
// "-" when there is none, and the line as "@text@": the line of the level
// that reads text (the first one), or "-" for none.
void TestLevelLint::problems_data()
{
    QTest::addColumn<QStringList>("level");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("a sound level") << startWith({"PATH E"}) + End << QStringList{};

    QTest::newRow("no start") << QStringList{"[LOCATION 1A]", "A.", "ENDGAME", ""}
                              << QStringList{"error - - has no start location"};
    QTest::newRow("two START lines")
        << startWith({"PATH E"}) + QStringList{"[LOCATION 1B]", "End.", "PATH W", "ENDGAME", "START", ""}
        << QStringList{"warning 1A @START@ a later one, at 1B (line 21)",
                       "warning 1A @[LOCATION 1A]@ Location 1A is never entered in any play"};
    QTest::newRow("an exit off the map") << startWith({"PATH E", "PATH N"}) + End
                                         << QStringList{"error 1A @PATH N@ leads off the map"};
    QTest::newRow("an exit to no block")
        << startWith({"PATH E", "PATH S"}) + End
        << QStringList{"error 1A @PATH S@ leads to 2A, which is not part of the level"};
    QTest::newRow("a one-way exit")
        << startWith({"PATH E"}) + QStringList{"[LOCATION 1B]", "End.", "ENDGAME", ""}
        << QStringList{"warning 1A @PATH E@ The exit east from 1A to 1B is one-way: 1B has no exit west back."};
    QTest::newRow("a locked exit needing an unnamed item")
        << startWith({"PATH E REQUIRES=C Locked."}) + End
        << QStringList{"error 1A @PATH E REQUIRES=C Locked.@ requires item C, which has no name",
                       "warning 1B @[LOCATION 1B]@ Location 1B is never entered in any play"};
    QTest::newRow("a locked exit naming no item") << startWith({"PATH E REQUIRES="}) + End
                                                  << QStringList{"error 1A @PATH E REQUIRES=@ names none",
                                                                 "warning 1B @[LOCATION 1B]@ Location 1B is never "
                                                                 "entered"};
    QTest::newRow("a locked exit naming a small letter")
        << QStringList{"[ITEMS]", "A key", "B cup", ""} + startWith({"PATH E REQUIRES=c Locked.", "ITEM A"}) + End
        << QStringList{"error 1A @PATH E REQUIRES=c Locked.@ requires \"c\", which is not an item letter",
                       "warning - @B cup@ Item B (cup) lies nowhere",
                       "warning 1B @[LOCATION 1B]@ Location 1B is never entered in any play"};
    QTest::newRow("a level file not found")
        << startWith({"PATH E"})
            + QStringList{"[LOCATION 1B]", "Gate.", "PATH W", "LOADLEVEL nowhere.qw COMMENT=Off you go.", ""}
        << QStringList{"error 1B @LOADLEVEL nowhere.qw COMMENT=Off you go.@ which the player would not find",
                       "warning - - No location ends the game"};
    QTest::newRow("LOADLEVEL without COMMENT=")
        << startWith({"PATH E"}) + QStringList{"[LOCATION 1B]", "Gate.", "PATH W", "LOADLEVEL a.qw", "ENDGAME", ""}
        << QStringList{"error 1B @LOADLEVEL a.qw@ has no \"COMMENT=\""};
    QTest::newRow("rules naming what is not an item")
        << QStringList{"[ITEMS]", "A rope", "B hook", ""} + startWith({"PATH E", "ITEM A", "ITEM B"}) + End
            + QStringList{"[COMBOS]", "A+B=C", "A+B=9", "A+", "A+A=B", ""}
        << QStringList{"error - @A+B=C@ The rule \"A+B=C\" names item C as its result, but item C has no name.",
                       "error - @A+B=9@ names \"9\" as its result, which is not an item letter",
                       "error - @A+@ The rule \"A+=\" has no second ingredient.",
                       "error - @A+@ The rule \"A+=\" has no result.",
                       "warning - @A+A=B@ joins an item with itself"};
    QTest::newRow("a location no exit reaches")
        << startWith({"PATH E"}) + End
            + QStringList{"[LOCATION 3C]", "Island.", "PATH N", "", "[LOCATION 2C]", "Shore.", "PATH S", ""}
        << QStringList{"warning 3C @[LOCATION 3C]@ Location 3C cannot be reached",
                       "warning 2C @[LOCATION 2C]@ Location 2C cannot be reached"};
    QTest::newRow("items no one can have or tell apart")
        << QStringList{"[ITEMS]", "A key", "B KEY", "C withered-rose", "D lamp ", "E", ""}
            + startWith({"PATH E", "ITEM A", "ITEM B", "ITEM C", "ITEM E"}) + End
        << QStringList{"warning - @B KEY@ Items A and B are both named \"KEY\"",
                       "warning - @C withered-rose@ contains \"WITH\", a word of the language's combine commands",
                       "warning - @D lamp @ Item D (lamp ) lies nowhere",
                       "warning - @D lamp @ begins or ends with a space",
                       "warning 1A @ITEM E@ holds item E, which has no name"};
    QTest::newRow("texts that act as tags")
        << QStringList{"[ITEMS]", "A key", "B cup", ""}
            + QStringList{"[LOCATION 1A]", "The road. ITEM B lies here.", "PATH E REQUIRES=A Go ENDGAME.", "ITEM A",
                          "START", "", "[LOCATION 1B]", "The START of the end.", "PATH W", "ENDGAME", ""}
        << QStringList{"warning 1A @The road. ITEM B lies here.@ contains \"ITEM B\", which the player reads as that "
                       "tag: item B (cup) lies at 1A",
                       "warning 1A @PATH E REQUIRES=A Go ENDGAME.@ The lockout text of the exit east from 1A contains "
                       "\"ENDGAME\", which the player reads as that tag: reaching 1A ends the game",
                       "warning 1B @The START of the end.@ contains \"START\": the studio's Area Stats takes 1B",
                       "warning 1B @[LOCATION 1B]@ Location 1B is never entered in any play",
                       "warning - @A key@ Item A (key) is never carried in any play",
                       "warning - @B cup@ Item B (cup) is never carried in any play"};
    QTest::newRow("a narrative read before the tag lines")
        << QStringList{"[ITEMS]", "A key", "B cup", ""}
            + QStringList{"[LOCATION 1A]", "Say PATH E REQUIRES=B to pass, or LOADLEVEL x.qw COMMENT=no.",
                          "PATH E REQUIRES=A Locked.", "ITEM A", "ITEM B", "START", "", "[LOCATION 1B]", "End.",
                          "PATH W", "LOADLEVEL y.qw COMMENT=On.", "ENDGAME", ""}
        << QStringList{"error 1A @Say PATH E REQUIRES=B to pass, or LOADLEVEL x.qw COMMENT=no.@ 1A loads the level "
                       "\"x.qw\"",
                       "error 1B @LOADLEVEL y.qw COMMENT=On.@ 1B loads the level \"y.qw\"",
                       "warning 1A @Say PATH E REQUIRES=B to pass, or LOADLEVEL x.qw COMMENT=no.@ contains "
                       "\"LOADLEVEL\", which the player reads as that tag: reaching 1A loads another level",
                       "warning 1A @Say PATH E REQUIRES=B to pass, or LOADLEVEL x.qw COMMENT=no.@ contains "
                       "\"PATH E REQUIRES=\", which the player reads as that tag: it, not the exit's own line, says "
                       "what the exit east needs",
                       "warning 1B @[LOCATION 1B]@ Location 1B is never entered in any play",
                       "warning - @A key@ Item A (key) is never carried in any play",
                       "warning - @B cup@ Item B (cup) is never carried in any play"};
    QTest::newRow("a tag line said again in the narrative is no change")
        << startWith({"PATH E"}).replaceInStrings("Start.", "Start. PATH E leads on.") + End << QStringList{};
    QTest::newRow("a block cut short by the end of the file")
        << startWith({"PATH E"}) + QStringList{"[LOCATION 1B]", "End.", "PATH W", "ENDGAME"}
        << QStringList{"warning - @[LOCATION 1B]@ runs into the end of the file without the empty line that ends it. "
                       "The player still reads all of it"};
    QTest::newRow("a header the reader cannot read")
        << startWith({"PATH E"}) + QStringList{"[LOCATION 1J]", "End.", "PATH W", "ENDGAME", ""}
        << QStringList{"error 1A @PATH E@ The exit east from 1A leads to 1B, which is not part of the level",
                       "error - @[LOCATION 1J]@ does not name a row 1 to 9",
                       "warning - - No location ends the game"};
}

void TestLevelLint::problems()
{
    QFETCH(QStringList, level);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    const QString path = CheckFiles::write(dir.path(), "a.qw", level);
    // A block cut short ends the file without its last line end.
    if (!level.last().isEmpty()) {
        QByteArray bytes = TestFiles::read(path);
        bytes.chop(2);
        TestFiles::write(path, bytes);
    }
    const CheckReport report =
        LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, 1000});
    QVERIFY2(report.failure.empty(), report.failure.c_str());

    QStringList found;
    for (const Problem &problem : report.problems) {
        found << QString("%1 %2 %3 %4")
                     .arg(problem.isError() ? "error" : "warning",
                          problem.location ? QString::fromStdString(problem.location->name()) : "-",
                          problem.line ? QString::number(problem.line) : "-", QString::fromStdString(problem.text));
    }
    QStringList wanted;
    for (QString line : expected) {
        const QRegularExpressionMatch at = QRegularExpression("@(.*)@").match(line);
        if (at.hasMatch()) {
            // The level's lines follow the ten of the map section and its empty line.
            line.replace(at.capturedStart(), at.capturedLength(), QString::number(level.indexOf(at.captured(1)) + 12));
        }
        wanted << line;
    }
    QCOMPARE(found.size(), wanted.size());
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QStringList parts = wanted[i].split(' ');
        const QString head = parts.mid(0, 3).join(' ');
        const QString fragment = parts.mid(3).join(' ');
        QVERIFY2(found[i].startsWith(head + ' ') && found[i].contains(fragment),
                 qPrintable("got \"" + found[i] + "\", wanted \"" + wanted[i] + "\""));
    }
}

// The problems of a level that another one loads name its file.
void TestLevelLint::chainedLevel()
{
    QTemporaryDir dir;
    const QString path = CheckFiles::write(
        dir.path(), "a.qw",
        startWith({"PATH E"}) + QStringList{"[LOCATION 1B]", "Gate.", "PATH W", "LOADLEVEL b.qw COMMENT=On.", ""});
    CheckFiles::write(dir.path(), "b.qw", {"[LOCATION 5E]", "Hall.", "PATH N", "ENDGAME", ""});
    const CheckReport report =
        LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, 1000});
    QCOMPARE(report.problems.size(), std::size_t(3));
    QVERIFY(report.problems[0].isError());
    QCOMPARE(report.problems[0].location->name(), std::string("5E"));
    QCOMPARE(report.problems[0].line, 14);
    QVERIFY(QString::fromStdString(report.problems[0].text).contains("b.qw: The exit north from 5E leads to 4E"));
    QCOMPARE(QString::fromStdString(report.problems[0].file), dir.filePath("b.qw"));
    // b.qw has no START: play goes on where a.qw was left, at 1B.
    QVERIFY(QString::fromStdString(report.problems[1].text).contains("b.qw: The level has no start location"));
    QVERIFY(!report.problems[1].isError());
    // So 5E is never entered: the game goes on at 1B, which b.qw leaves empty.
    QVERIFY(QString::fromStdString(report.problems[2].text).contains("b.qw: Location 5E is never entered"));
    QCOMPARE(QString::fromStdString(report.problems[2].file), dir.filePath("b.qw"));
}

QTEST_GUILESS_MAIN(TestLevelLint)
#include "tst_levellint.moc"
