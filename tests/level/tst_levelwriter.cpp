// SPDX-License-Identifier: MIT
#include "levelreader.h"
#include "levelwriter.h"
#include "qtext.h"
#include "workedexample.h"

#include <QTest>

namespace {

QByteArray write(const Level &level)
{
    return QByteArray::fromStdString(LevelWriter::write(level));
}

LocationRecord record(const QString &text)
{
    return LocationRecord(toText(text));
}

} // namespace

class TestLevelWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyLevel();
    void workedExample();
    void roundTrip_data();
    void roundTrip();
    void items_data();
    void items();
    void rules_data();
    void rules();
    void normaliseRecord_data();
    void normaliseRecord();
    void encoding();
};

void TestLevelWriter::emptyLevel()
{
    const QByteArray expected = "[MAP]\r\n1 ABCDEFGHI\r\n2 ABCDEFGHI\r\n3 ABCDEFGHI\r\n4 ABCDEFGHI\r\n"
                                "5 ABCDEFGHI\r\n6 ABCDEFGHI\r\n7 ABCDEFGHI\r\n8 ABCDEFGHI\r\n9 ABCDEFGHI\r\n"
                                "\r\n[ITEMS]\r\n\r\n[COMBOS]\r\n\r\n";
    QCOMPARE(write(Level{}), expected);
    QCOMPARE(expected.count("\r\n"), 15);
}

void TestLevelWriter::workedExample()
{
    Level level;
    level.items = {U"brass key", U"lamp", U"oil", U"lit lamp"};
    level.record({1, 1}) = record("You wake up in a cold cell.|PATH E|ITEM A|ITEM C|START|");
    level.record({1, 2}) = record("A long corridor.\r\nTorches flicker on the walls.|PATH S REQUIRES=D It is too "
                                  "dark to go south.|PATH W|ITEM B|");
    level.record({2, 2}) = record("|PATH N|ENDGAME|");
    level.combos = {{U'B', U'C', U'D'}, {}};
    QCOMPARE(write(level), ::workedExample());
}

void TestLevelWriter::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("worked example") << ::workedExample();
    QTest::newRow("items with a gap and unknown lines")
        << QByteArray(::workedExample()).replace("C oil\r\n", "").replace("PATH W\r\n", "PATH W\r\nODD LINE\r\n");
    QTest::newRow("bare CR inside a line") << QByteArray(::workedExample()).replace("cold", "co\rld");
}

void TestLevelWriter::roundTrip()
{
    QFETCH(QByteArray, bytes);
    const LevelReader::Result result = LevelReader::read(bytes.toStdString(), "r.qw");
    QVERIFY2(result.ok(), result.error.c_str());
    QCOMPARE(write(result.level), bytes);
}

void TestLevelWriter::items_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("trimmed, inner spaces kept as dashes") << "  brass  key " << QByteArray("A brass--key\r\n");
    QTest::newRow("blank name writes nothing") << "   " << QByteArray();
    QTest::newRow("dash stays") << "lit-lamp" << QByteArray("A lit-lamp\r\n");
}

void TestLevelWriter::items()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, line);
    Level level;
    level.items[0] = toText(name);
    QCOMPARE(write(level), write(Level{}).replace("[ITEMS]\r\n", "[ITEMS]\r\n" + line));
}

void TestLevelWriter::rules_data()
{
    QTest::addColumn<QString>("row"); // read by position, as the item manager's tokens are
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("a rule") << "B+C=D" << QByteArray("B+C=D\r\n");
    // A row whose second box was empty: its characters are written as they
    // stand, "+" and "=" whatever lies between.
    QTest::newRow("empty second ingredient") << "A+=C" << QByteArray("A+==\r\n");
    QTest::newRow("first ingredient alone") << "F" << QByteArray("F+=\r\n");
    QTest::newRow("blank first ingredient is no rule") << " +B=C" << QByteArray();
}

void TestLevelWriter::rules()
{
    QFETCH(QString, row);
    QFETCH(QByteArray, line);
    Level level;
    level.combos = {Combo::fromLine(toText(row))};
    QCOMPARE(write(level), write(Level{}).replace("[COMBOS]\r\n", "[COMBOS]\r\n" + line));
}

void TestLevelWriter::normaliseRecord_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("normal");
    const QString def = toQString(LocationRecord::DefaultNarrative);

    QTest::newRow("read from a file") << "N.|PATH N||" << "N.|PATH N|";
    QTest::newRow("two lines") << "One\r\nTwo|" << "One~Two|";
    QTest::newRow("bare line feed") << "One\nTwo|" << "One~Two|";
    QTest::newRow("empty narrative") << "|PATH N|" << def + "|PATH N|";
    QTest::newRow("narrative of spaces") << "   |ENDGAME|" << def + "|ENDGAME|";
    QTest::newRow("leading runs") << "||PATH N|" << def + "|PATH N|";
    QTest::newRow("piece of spaces") << "N.|  |PATH S|" << "N.|PATH S|";
    QTest::newRow("no closing bar") << "N.|PATH E" << "N.|PATH E|";
    QTest::newRow("empty lockout keeps its space") << "N.|PATH W REQUIRES=A |" << "N.|PATH W REQUIRES=A |";
    QTest::newRow("run longer than 512") << "N." + QString(600, u'|') + "START" + QString(1000, u'|')
                                         << "N.|START|";
    QTest::newRow("surrounding spaces kept") << "  N.  |" << "  N.  |";
}

void TestLevelWriter::normaliseRecord()
{
    QFETCH(QString, record);
    QFETCH(QString, normal);
    QCOMPARE(toQString(::record(record).normalised().text()), normal);
    QCOMPARE(toQString(::record(normal).normalised().text()), normal);
}

void TestLevelWriter::encoding()
{
    Level level;
    level.items[0] = U"caf\u00e9";
    level.encoding = TextCodec::Encoding::Latin1;
    QVERIFY(write(level).contains("A caf\xe9\r\n"));
    level.items[1] = U"\u20ac";
    QVERIFY(write(level).contains("A caf\xc3\xa9\r\n"));
}

QTEST_APPLESS_MAIN(TestLevelWriter)
#include "tst_levelwriter.moc"
