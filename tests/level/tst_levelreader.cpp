// SPDX-License-Identifier: MIT
#include "levelreader.h"
#include "workedexample.h"

#include <QTemporaryDir>
#include <QTest>

class TestLevelReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample_data();
    void workedExample();
    void items_data();
    void items();
    void sections_data();
    void sections();
    void faults_data();
    void faults();
    void missingFile();
    void latin1();
};

static QByteArray crlf(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

void TestLevelReader::workedExample_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << ::workedExample();
    QTest::newRow("bare LF") << QByteArray(::workedExample()).replace("\r\n", "\n");
}

void TestLevelReader::workedExample()
{
    QFETCH(QByteArray, bytes);
    const LevelReader::Result result = LevelReader::read(bytes, QStringLiteral("example.qw"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    const Level &level = result.level;

    QCOMPARE(level.record({1, 2}), QStringLiteral("A long corridor.\r\nTorches flicker on the walls.|"
                                                  "PATH S REQUIRES=D It is too dark to go south.|PATH W|ITEM B||"));
    QCOMPARE(level.record({1, 1}), QStringLiteral("You wake up in a cold cell.|PATH E|ITEM A|ITEM C|START||"));
    QCOMPARE(level.record({2, 2}), QStringLiteral("In this area you see nothing unusual.|PATH N|ENDGAME||"));
    QCOMPARE(level.record({5, 5}), QString());
    QCOMPARE((QStringList{level.items[0], level.items[1], level.items[2], level.items[3], level.items[4]}),
             (QStringList{"brass-key", "lamp", "oil", "lit-lamp", ""}));
    QCOMPARE(level.combos, (QList<Combo>{{"B", "C", "D"}}));
    QCOMPARE(level.start, std::optional<GridRef>(GridRef{1, 1}));
    QCOMPARE(level.blocks, (QList<GridRef>{{1, 1}, {1, 2}, {2, 2}}));
    QCOMPARE(level.mapSections, 1);
    const std::array<bool, 4> placed{level.placed[0], level.placed[1], level.placed[2], level.placed[3]};
    QCOMPARE(placed, (std::array<bool, 4>{true, true, true, false}));
}

void TestLevelReader::items_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("names"); // items A to E

    QTest::newRow("by position") << QStringList{"A x", "B y"} << QStringList{"x", "y", "", "", ""};
    QTest::newRow("by letter across a gap") << QStringList{"A x", "B y", "D z"} << QStringList{"x", "y", "", "z", ""};
    QTest::newRow("out of order") << QStringList{"C c", "A a"} << QStringList{"a", "", "c", "", ""};
    QTest::newRow("no letter takes the next")
        << QStringList{"B b", "-no letter", "x"} << QStringList{"", "b", "o letter", "", ""};
    QTest::newRow("lower-case letter is no letter") << QStringList{"d dog"} << QStringList{"dog", "", "", "", ""};
    QTest::newRow("name kept untrimmed") << QStringList{"A  two  "} << QStringList{" two  ", "", "", "", ""};
    QTest::newRow("prefix before the heading") << QStringList{} << QStringList{"", "", "", "", ""};
}

void TestLevelReader::items()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, names);
    const QByteArray bytes = crlf(QStringList{"junk [ITEMS] junk"} + lines + QStringList{""});
    const LevelReader::Result result = LevelReader::read(bytes, QStringLiteral("items.qw"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(result.level.items[i], names.at(i));
}

void TestLevelReader::sections_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("record2C");
    QTest::addColumn<QList<Combo>>("combos");

    QTest::newRow("two blocks append")
        << QStringList{"[LOCATION 2C]", "One.", "PATH N", "", "[LOCATION 2C]", "Two.", ""}
        << QStringLiteral("One.|PATH N||Two.||") << QList<Combo>{};
    QTest::newRow("header alone paints")
        << QStringList{"[LOCATION 2C]", ""} << QStringLiteral("|") << QList<Combo>{};
    QTest::newRow("block ends at a line of spaces")
        << QStringList{"[LOCATION 2C]", "A~B", "   ", "PATH S", ""} << QStringLiteral("A\r\nB|   |")
        << QList<Combo>{};
    QTest::newRow("unknown lines kept") << QStringList{"[LOCATION 2C]", "N.", "WHATEVER", ""}
                                        << QStringLiteral("N.|WHATEVER||") << QList<Combo>{};
    QTest::newRow("combos by position")
        << QStringList{"x[COMBOS]", "A+B=C", "D+E", "F", ""} << QString()
        << QList<Combo>{{"A", "B", "C"}, {"D", "E", ""}, {"F", "", ""}};
}

void TestLevelReader::sections()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, record2C);
    QFETCH(QList<Combo>, combos);
    const LevelReader::Result result = LevelReader::read(crlf(lines), QStringLiteral("s.qw"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.level.record({2, 3}), record2C);
    QCOMPARE(result.level.combos, combos);
}

void TestLevelReader::faults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("kept"); // record of 1A, read before the fault

    const QStringList good{"[LOCATION 1A]", "Kept.", ""};
    QStringList items{"[ITEMS]"};
    for (char c = 'A'; c <= 'Z'; ++c)
        items << QStringLiteral("%1 thing").arg(QChar::fromLatin1(c));
    QStringList combos{"[COMBOS]"};
    for (int i = 0; i < 101; ++i)
        combos << QStringLiteral("A+B=C");

    QTest::newRow("row 0") << crlf(good + QStringList{"[LOCATION 0C]", ""}) << 4 << "[LOCATION 0C]"
                           << "Kept.||";
    QTest::newRow("column J") << crlf(good + QStringList{"[LOCATION 3J]", ""}) << 4 << "column A to I"
                              << "Kept.||";
    QTest::newRow("lower-case column") << crlf(good + QStringList{"[LOCATION 3c]"}) << 4 << "[LOCATION 3c]"
                                       << "Kept.||";
    QTest::newRow("indented header") << crlf(good + QStringList{" [LOCATION 3C]"}) << 4 << "[LOCATION 3C]"
                                     << "Kept.||";
    QTest::newRow("short header") << crlf(good + QStringList{"[LOCATION"}) << 4 << "row 1 to 9"
                                  << "Kept.||";
    QTest::newRow("block cut off") << crlf(QStringList{"[LOCATION 1A]", "Cut.", "PATH N"}) << 1
                                   << "location 1A runs into the end of the file" << "Cut.|PATH N|";
    QTest::newRow("items cut off") << crlf(good + QStringList{"[ITEMS]", "A x"}) << 4
                                   << "[ITEMS] section runs into the end" << "Kept.||";
    QTest::newRow("combos cut off") << crlf(good + QStringList{"[COMBOS]"}) << 4
                                    << "[COMBOS] section runs into the end" << "Kept.||";
    QTest::newRow("27 items") << crlf(good + items + QStringList{"no letter", ""}) << 31 << "at most 26 items"
                              << "Kept.||";
    QTest::newRow("101 rules") << crlf(good + combos + QStringList{""}) << 105 << "more than 100 rules"
                               << "Kept.||";
}

void TestLevelReader::faults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, problem);
    QFETCH(QString, kept);
    const LevelReader::Result result = LevelReader::read(bytes, QStringLiteral("broken.qw"));
    QVERIFY(!result.ok());
    QCOMPARE(result.errorLine, line);
    QVERIFY2(result.error.startsWith(QStringLiteral("Level file \"broken.qw\", line %1: ").arg(line)),
             qPrintable(result.error));
    QVERIFY2(result.error.contains(problem), qPrintable(result.error));
    QCOMPARE(result.level.record({1, 1}), kept);
}

void TestLevelReader::missingFile()
{
    QTemporaryDir dir;
    const LevelReader::Result missing = LevelReader::readFile(dir.filePath(QStringLiteral("none.qw")));
    QVERIFY(!missing.ok());
    QVERIFY2(missing.error.contains(QStringLiteral("none.qw")), qPrintable(missing.error));
    const LevelReader::Result folder = LevelReader::readFile(dir.path());
    QVERIFY(!folder.ok());
}

void TestLevelReader::latin1()
{
    const QByteArray bytes("[LOCATION 1A]\r\nCaf\xe9.\r\n\r\n");
    const LevelReader::Result result = LevelReader::read(bytes, QStringLiteral("l.qw"));
    QVERIFY(result.ok());
    QCOMPARE(result.level.encoding, TextCodec::Latin1);
    QCOMPARE(result.level.record({1, 1}), QStringLiteral("Caf\u00e9.||"));
}

QTEST_APPLESS_MAIN(TestLevelReader)
#include "tst_levelreader.moc"
