// SPDX-License-Identifier: MIT
#include "levelreader.h"
#include "qtext.h"
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
    void isLevel_data();
    void isLevel();
    void latin1();
};

static QByteArray crlf(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

static LevelReader::Result read(const QByteArray &bytes, const char *fileName)
{
    return LevelReader::read(std::string_view(bytes.constData(), std::size_t(bytes.size())), fileName);
}

static QString record(const Level &level, GridRef ref)
{
    return toQString(level.record(ref).text());
}

// Rules as their lines, "A+B=C", a missing character left out.
static QStringList rules(const std::vector<Combo> &combos)
{
    QStringList lines;
    for (const Combo &combo : combos)
        lines << toQString(combo.line());
    return lines;
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
    const LevelReader::Result result = read(bytes, "example.qw");
    QVERIFY2(result.ok(), result.error.c_str());
    const Level &level = result.level;

    QCOMPARE(record(level, {1, 2}), QStringLiteral("A long corridor.\r\nTorches flicker on the walls.|"
                                                  "PATH S REQUIRES=D It is too dark to go south.|PATH W|ITEM B||"));
    QCOMPARE(record(level, {1, 1}), QStringLiteral("You wake up in a cold cell.|PATH E|ITEM A|ITEM C|START||"));
    QCOMPARE(record(level, {2, 2}), QStringLiteral("In this area you see nothing unusual.|PATH N|ENDGAME||"));
    QCOMPARE(record(level, {5, 5}), QString());
    QStringList names;
    for (int i = 0; i < 5; ++i)
        names << toQString(level.items[i]);
    QCOMPARE(names, (QStringList{"brass-key", "lamp", "oil", "lit-lamp", ""}));
    QCOMPARE(level.combos, (std::vector<Combo>{{U'B', U'C', U'D'}}));
    QVERIFY(level.start == std::optional<GridRef>(GridRef{1, 1}));
    QVERIFY(level.blocks == (std::vector<GridRef>{{1, 1}, {1, 2}, {2, 2}}));
    QCOMPARE(result.lines.headers[(GridRef{1, 2}).index()], 25);
    QCOMPARE(result.lines.lineAt({1, 2}, level.record({1, 2}).text().find(U"PATH W")), 28);
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
    const LevelReader::Result result = read(bytes, "items.qw");
    QVERIFY2(result.ok(), result.error.c_str());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(toQString(result.level.items[i]), names.at(i));
}

void TestLevelReader::sections_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("record2C");
    QTest::addColumn<QStringList>("combos");

    QTest::newRow("two blocks append")
        << QStringList{"[LOCATION 2C]", "One.", "PATH N", "", "[LOCATION 2C]", "Two.", ""}
        << QStringLiteral("One.|PATH N||Two.||") << QStringList{};
    QTest::newRow("header alone paints")
        << QStringList{"[LOCATION 2C]", ""} << QStringLiteral("|") << QStringList{};
    QTest::newRow("block ends at a line of spaces")
        << QStringList{"[LOCATION 2C]", "A~B", "   ", "PATH S", ""} << QStringLiteral("A\r\nB|   |")
        << QStringList{};
    QTest::newRow("unknown lines kept") << QStringList{"[LOCATION 2C]", "N.", "WHATEVER", ""}
                                        << QStringLiteral("N.|WHATEVER||") << QStringList{};
    QTest::newRow("combos by position")
        << QStringList{"x[COMBOS]", "A+B=C", "D+E", "F", ""} << QString()
        << QStringList{"A+B=C", "D+E=", "F+="};
}

void TestLevelReader::sections()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, record2C);
    QFETCH(QStringList, combos);
    const LevelReader::Result result = read(crlf(lines), "s.qw");
    QVERIFY2(result.ok(), result.error.c_str());
    QCOMPARE(record(result.level, {2, 3}), record2C);
    QCOMPARE(rules(result.level.combos), combos);
}

void TestLevelReader::faults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("kept"); // record of 1A, read before the fault
    QTest::addColumn<bool>("whole"); // every line read: only the end cut it off

    const QStringList good{"[LOCATION 1A]", "Kept.", ""};
    QStringList items{"[ITEMS]"};
    for (char c = 'A'; c <= 'Z'; ++c)
        items << QStringLiteral("%1 thing").arg(QChar::fromLatin1(c));
    QStringList combos{"[COMBOS]"};
    for (int i = 0; i < 101; ++i)
        combos << QStringLiteral("A+B=C");

    QTest::newRow("row 0") << crlf(good + QStringList{"[LOCATION 0C]", ""}) << 4 << "[LOCATION 0C]"
                           << "Kept.||" << false;
    QTest::newRow("column J") << crlf(good + QStringList{"[LOCATION 3J]", ""}) << 4 << "column A to I"
                              << "Kept.||" << false;
    QTest::newRow("lower-case column") << crlf(good + QStringList{"[LOCATION 3c]"}) << 4 << "[LOCATION 3c]"
                                       << "Kept.||" << false;
    QTest::newRow("indented header") << crlf(good + QStringList{" [LOCATION 3C]"}) << 4 << "[LOCATION 3C]"
                                     << "Kept.||" << false;
    QTest::newRow("short header") << crlf(good + QStringList{"[LOCATION"}) << 4 << "row 1 to 9"
                                  << "Kept.||" << false;
    QTest::newRow("block cut off") << crlf(QStringList{"[LOCATION 1A]", "Cut.", "PATH N"}) << 1
                                   << "location 1A runs into the end of the file" << "Cut.|PATH N|" << true;
    QTest::newRow("items cut off") << crlf(good + QStringList{"[ITEMS]", "A x"}) << 4
                                   << "[ITEMS] section runs into the end" << "Kept.||" << true;
    QTest::newRow("combos cut off") << crlf(good + QStringList{"[COMBOS]"}) << 4
                                    << "[COMBOS] section runs into the end" << "Kept.||" << true;
    QTest::newRow("27 items") << crlf(good + items + QStringList{"no letter", ""}) << 31 << "at most 26 items"
                              << "Kept.||" << false;
    QTest::newRow("101 rules") << crlf(good + combos + QStringList{""}) << 105 << "more than 100 rules"
                               << "Kept.||" << false;
}

void TestLevelReader::faults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, problem);
    QFETCH(QString, kept);
    QFETCH(bool, whole);
    const LevelReader::Result result = read(bytes, "broken.qw");
    QVERIFY(!result.ok());
    QCOMPARE(result.whole(), whole);
    QVERIFY(result.noLevel.empty());
    QCOMPARE(result.errorLine, line);
    const QString error = toQString(result.error);
    QVERIFY2(error.startsWith(QStringLiteral("Level file \"broken.qw\", line %1: ").arg(line)), qPrintable(error));
    QVERIFY2(error.contains(problem), qPrintable(error));
    QCOMPARE(record(result.level, {1, 1}), kept);
}

void TestLevelReader::missingFile()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("none.qw")).toStdString();
    const LevelReader::Result missing = LevelReader::readFile(path);
    QCOMPARE(toQString(missing.error),
             QStringLiteral("Cannot open the level file \"%1\": No such file or directory.").arg(toQString(path)));
    QCOMPARE(missing.noLevel, missing.error);
    const LevelReader::Result folder = LevelReader::readFile(dir.path().toStdString());
    QVERIFY(!folder.ok());
    QCOMPARE(folder.noLevel, folder.error);
}

void TestLevelReader::isLevel_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("level");

    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("text") << QByteArray("Dear diary,\r\nno level here.\r\n") << false;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << false;
    QTest::newRow("bad header only") << crlf(QStringList{"[LOCATION x]", ""}) << false;
    QTest::newRow("map line") << crlf(QStringList{"[MAP]"}) << true;
    QTest::newRow("block") << crlf(QStringList{"[LOCATION 1A]", "Here.", ""}) << true;
    QTest::newRow("items") << crlf(QStringList{"[ITEMS]", ""}) << true;
    QTest::newRow("combos cut off") << crlf(QStringList{"[COMBOS]", "A+B=C"}) << true;
    QTest::newRow("worked example") << ::workedExample() << true;
}

void TestLevelReader::isLevel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, level);
    const LevelReader::Result result = read(bytes, "any.qw");
    QCOMPARE(result.level.isLevel(), level);
    QCOMPARE(toQString(result.noLevel), level ? QString() : toQString(LevelReader::notALevel("any.qw")));
}

void TestLevelReader::latin1()
{
    const QByteArray bytes("[LOCATION 1A]\r\nCaf\xe9.\r\n\r\n");
    const LevelReader::Result result = read(bytes, "l.qw");
    QVERIFY(result.ok());
    QVERIFY(result.level.encoding == TextCodec::Encoding::Latin1);
    QCOMPARE(record(result.level, {1, 1}), QStringLiteral("Caf\u00e9.||"));
}

QTEST_APPLESS_MAIN(TestLevelReader)
#include "tst_levelreader.moc"
