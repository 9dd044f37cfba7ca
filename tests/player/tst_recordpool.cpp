// SPDX-License-Identifier: MIT
#include "qtext.h"
#include "recordpool.h"

#include <QTest>

// The plainest record that plays like another: what tools that tell game
// states apart rely on to find a game's states finite.
class TestRecordPool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plainest_data();
    void plainest();
    void takeAndDropComeBack();
    void copyOutlivesTheOriginal();
};

void TestRecordPool::plainest_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("plain");

    QTest::newRow("plain already") << "Hall.|PATH N|ITEM A|" << "Hall.|PATH N|ITEM A|";
    QTest::newRow("pieces a take left empty") << "Hall.|PATH N|||ITEM B||" << "Hall.|PATH N|ITEM B|";
    QTest::newRow("items in the order dropped") << "Hall.||ITEM C|ITEM A|ITEM C|" << "Hall.|ITEM A|ITEM C|";
    QTest::newRow("an item named by the narrative stays there") << "ITEM B|ITEM A||" << "ITEM B|ITEM A|";
    QTest::newRow("an empty narrative stays") << "||PATH S|" << "|PATH S|";
    // A tag inside other text may join with its neighbours once taken.
    QTest::newRow("a tag inside a narrative") << "You see ITEM A.||ITEM B|" << "You see ITEM A.||ITEM B|";
    QTest::newRow("a tag inside a piece") << "Hall.|PATH N ITEM A||" << "Hall.|PATH N ITEM A||";
    // The file name of a LOADLEVEL runs up to COMMENT= across pieces.
    QTest::newRow("a level load") << "Gate.|LOADLEVEL a||b COMMENT=On.||" << "Gate.|LOADLEVEL a||b COMMENT=On.||";
    QTest::newRow("the empty record") << "" << "";
}

void TestRecordPool::plainest()
{
    QFETCH(QString, record);
    QFETCH(QString, plain);

    RecordPool pool;
    const std::uint32_t id = pool.intern(LocationRecord(toText(record)));
    const std::uint32_t plainId = pool.plainest(id);
    QCOMPARE(toQString(pool.record(plainId).text()), plain);
    // It is its own plainest form, and reads alike.
    QCOMPARE(pool.plainest(plainId), plainId);
    const RecordPool::Facts &was = pool.facts(id);
    const RecordPool::Facts &is = pool.facts(plainId);
    QCOMPARE(is.paths, was.paths);
    QCOMPARE(is.items, was.items);
    QCOMPARE(is.end, was.end);
    QCOMPARE(is.loadsLevel, was.loadsLevel);
    QCOMPARE(toQString(pool.record(plainId).narrative()), toQString(pool.record(id).narrative()));
}

// Dropping and taking an item again and again gives ever longer records,
// but one plainest form.
void TestRecordPool::takeAndDropComeBack()
{
    RecordPool pool;
    std::uint32_t id = pool.intern(LocationRecord(Text(U"Hall.|PATH N|ITEM A||")));
    const std::uint32_t first = pool.plainest(id);
    for (int round = 0; round < 5; ++round) {
        const std::uint32_t taken = pool.withoutItem(id, 0);
        id = pool.withItem(taken, 0);
        QVERIFY(pool.record(id).text().size() > pool.record(first).text().size());
        QCOMPARE(pool.plainest(id), first);
        QCOMPARE(pool.facts(pool.plainest(taken)).items, 0u);
    }
}

// A copy of a game's pool plays on after the game is gone, as a hint's
// search does: the lockout it reads and the records it finds are its own.
void TestRecordPool::copyOutlivesTheOriginal()
{
    auto original = std::make_unique<RecordPool>();
    const std::uint32_t id = original->intern(LocationRecord(Text(U"Hall.|PATH N REQUIRES=A Locked.|ITEM A|")));
    const RecordPool copy = *original;
    original.reset();
    QCOMPARE(Text(copy.facts(id).requirements[0]->lockout), Text(U" Locked."));
    RecordPool again = copy;
    QCOMPARE(again.intern(LocationRecord(Text(U"Hall.|PATH N REQUIRES=A Locked.|ITEM A|"))), id);
    QCOMPARE(again.withoutItem(id, 0), again.intern(LocationRecord(Text(U"Hall.|PATH N REQUIRES=A Locked.||"))));
}

QTEST_GUILESS_MAIN(TestRecordPool)
#include "tst_recordpool.moc"
