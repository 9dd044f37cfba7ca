// SPDX-License-Identifier: MIT
#include "leveldocument.h"
#include "levelformat.h"
#include "testfiles.h"
#include "level/workedexample.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

class TestLevelDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void itemNames_data();
    void itemNames();
    void comboString_data();
    void comboString();
    void updategrid_data();
    void updategrid();
    void loadOneLocation();
    void loadFillsTheItemManager();
    void loadKeepsWhatWasReadBeforeAFault();
    void loadTellsWhatWasLeftUnread_data();
    void loadTellsWhatWasLeftUnread();
    void saveRoundTrip();
    void saveEmptyLevel();
    void saveRewritesRecords_data();
    void saveRewritesRecords();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void modified();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QByteArray contents(const QString &path);

    QTemporaryDir dir;
};

void TestLevelDocument::init()
{
    QVERIFY(dir.isValid());
}

QString TestLevelDocument::write(const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    if (!TestFiles::write(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray TestLevelDocument::contents(const QString &path)
{
    return TestFiles::read(path);
}

void TestLevelDocument::itemNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    QTest::newRow("two spaces: stored, not offered") << "  " << false;
    QTest::newRow("a name with blanks around it") << " lamp " << true;
    QTest::newRow("empty") << "" << false;
}

void TestLevelDocument::itemNames()
{
    QFETCH(QString, name);
    QFETCH(bool, listed);
    LevelDocument document;
    QSignalSpy spy(&document, &LevelDocument::itemListed);
    document.updateitems(3, name, false);
    QCOMPARE(document.itemnames(3), name);
    QCOMPARE(spy.size(), listed ? 1 : 0);
    if (listed)
        QCOMPARE(spy.at(0).at(0).toString(), name);
}

void TestLevelDocument::comboString_data()
{
    QTest::addColumn<QString>("comboString");
    QTest::addColumn<QList<Combo>>("rows"); // rows from 1; the rest must be free

    QTest::newRow("two rules") << "A+B=C|D+E=F|" << QList<Combo>{{"A", "B", "C"}, {"D", "E", "F"}};
    QTest::newRow("no closing bar empties the table") << "A+B=C" << QList<Combo>{};
    QTest::newRow("short token") << "A+=C|" << QList<Combo>{{"A", "=", ""}};
    QTest::newRow("empty") << "" << QList<Combo>{};
    QString many;
    QList<Combo> hundred;
    for (int i = 0; i < 120; ++i)
        many += "A+B=C|";
    for (int i = 0; i < 100; ++i)
        hundred.append({"A", "B", "C"});
    QTest::newRow("more rules than rows") << many << hundred;
}

void TestLevelDocument::comboString()
{
    QFETCH(QString, comboString);
    QFETCH(QList<Combo>, rows);
    LevelDocument document;
    document.updateitems(1, "X+Y=Z|X+Y=Z|X+Y=Z|", true);
    document.updateitems(1, comboString, true);
    for (int n = 1; n <= LevelDocument::ComboRows; ++n)
        QCOMPARE(document.combotable(n), n <= rows.size() ? rows.at(n - 1) : Combo{});
}

void TestLevelDocument::updategrid_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("freeItems");
    QTest::addColumn<bool>("placedA");
    QTest::addColumn<bool>("placedB");
    QTest::addColumn<QString>("exits"); // N S E W

    QTest::newRow("free text wins") << "Hall.|PATH N|ITEM A|" << "ITEM A|" << false << false << "1000";
    QTest::newRow("placed") << "Hall.|PATH S|PATH W|ITEM A|ITEM B|" << "" << true << true << "0101";
    QTest::newRow("requirement is a path") << "Hall.|PATH N REQUIRES=B Shut.|PATH E|" << "ITEM B|" << false
                                           << false << "1010";
    QTest::newRow("not used") << "" << "ITEM A|ITEM B|" << false << false << "0000";
}

void TestLevelDocument::updategrid()
{
    QFETCH(QString, record);
    QFETCH(QString, freeItems);
    QFETCH(bool, placedA);
    QFETCH(bool, placedB);
    QFETCH(QString, exits);
    LevelDocument document;
    QSignalSpy exitSpy(&document, &LevelDocument::exitsChanged);
    document.updategrid(2, 5, record, freeItems);
    QCOMPARE(document.locdata(2, 5), record);
    QCOMPARE(document.placed(1), placedA);
    QCOMPARE(document.placed(2), placedB);
    QCOMPARE(exitSpy.size(), 1);
    const QList<QVariant> call = exitSpy.at(0);
    QCOMPARE(call.at(0).toInt(), 2);
    QCOMPARE(call.at(1).toInt(), 5);
    QCOMPARE(call.at(2).toString() + call.at(3).toString() + call.at(4).toString() + call.at(5).toString(), exits);
}

void TestLevelDocument::loadOneLocation()
{
    const QString path = write("one.qw", "[MAP]\r\n\r\n[LOCATION 5E]\r\nMiddle.\r\nPATH N\r\nITEM B\r\n\r\n");
    LevelDocument document;
    QSignalSpy colours(&document, &LevelDocument::locationRead);
    QSignalSpy exits(&document, &LevelDocument::exitsChanged);
    QSignalSpy maps(&document, &LevelDocument::mapRead);
    QCOMPARE(document.loadgame(path), QString());
    QCOMPARE(colours.size(), 1);
    QCOMPARE(colours.at(0), (QList<QVariant>{5, 5}));
    QCOMPARE(exits.size(), 1);
    QCOMPARE(exits.at(0).at(2).toString(), "1");
    QCOMPARE(maps.size(), 1);
    QCOMPARE(document.locdata(5, 5), "Middle.|PATH N|ITEM B||");
    QVERIFY(document.placed(2));
    QVERIFY(!document.placed(1));
}

void TestLevelDocument::loadFillsTheItemManager()
{
    const QString path = write("items.qw", "[ITEMS]\r\nA lamp\r\nB  \r\nC oil\r\n\r\n[COMBOS]\r\nA+C=G\r\nA+C=7\r\n"
                                           "C+A=G\r\n\r\n");
    LevelDocument document;
    QSignalSpy listed(&document, &LevelDocument::itemListed);
    QSignalSpy names(&document, &LevelDocument::itemNameRead);
    QSignalSpy rules(&document, &LevelDocument::ingredientsRead);
    QCOMPARE(document.loadgame(path), QString());
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.at(1).at(0).toString(), "oil");
    QCOMPARE(names.size(), 3);
    QCOMPARE(names.at(1), (QList<QVariant>{2, " "}));
    // Both rules for G reach the dialog, the later last; the rule for "7" none.
    QCOMPARE(rules.size(), 2);
    QCOMPARE(rules.at(1), (QList<QVariant>{7, "C", "A"}));
    QCOMPARE(document.combotable(2), (Combo{"A", "C", "7"}));
}

void TestLevelDocument::loadKeepsWhatWasReadBeforeAFault()
{
    const QString path = write("broken.qw", "[LOCATION 1A]\r\nKept.\r\n\r\n[LOCATION 1Z]\r\n\r\n");
    LevelDocument document;
    const QString error = document.loadgame(path);
    QVERIFY2(error.contains("broken.qw") && error.contains("line 4"), qPrintable(error));
    QCOMPARE(document.locdata(1, 1), "Kept.||");
}

void TestLevelDocument::loadTellsWhatWasLeftUnread_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fault");
    QTest::addColumn<bool>("unread");
    const QByteArray cell = "[LOCATION 1A]\r\nCell.\r\nSTART\r\n";
    QStringList rules;
    for (int i = 0; i <= Level::ComboRows; ++i)
        rules << "A+B=C";
    QStringList items{"[ITEMS]"};
    for (int i = 0; i < Level::ItemCount; ++i)
        items << QString(QChar(u'A' + i)) + " thing";
    QTest::newRow("a whole file") << cell + "\r\n" << false << false;
    // Only the empty line that ends the last part is missing: all was read.
    QTest::newRow("a last location without its empty line") << cell << true << false;
    QTest::newRow("a last line without its line end") << cell.chopped(2) << true << false;
    QTest::newRow("a last [ITEMS] without its empty line") << cell + "\r\n[ITEMS]\r\nA lamp\r\n" << true << false;
    QTest::newRow("a last [COMBOS] without its empty line") << cell + "\r\n[COMBOS]\r\nA+B=C" << true << false;
    // Reading stopped before the end.
    QTest::newRow("a bad header, then more") << "[LOCATION 0Z]\r\n\r\n" + cell + "\r\n" << true << true;
    QTest::newRow("a bad header on the last line") << cell + "\r\n[LOCATION 0Z]" << true << true;
    QTest::newRow("an item after Z on the last line")
        << TestFiles::level(items << "one more") << true << true;
    QTest::newRow("101 rules, the last unended") << ("[COMBOS]\r\n" + rules.join("\r\n")).toUtf8() << true << true;
}

void TestLevelDocument::loadTellsWhatWasLeftUnread()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fault);
    QFETCH(bool, unread);
    const QString path = write("level.qw", bytes);
    LevelDocument document;
    bool leftUnread = !unread;
    const QString error = document.loadgame(path, &leftUnread);
    QCOMPARE(!error.isEmpty(), fault);
    QCOMPARE(leftUnread, unread);
}

void TestLevelDocument::saveRoundTrip()
{
    const QString path = write("example.qw", workedExample());
    LevelDocument document;
    QCOMPARE(document.loadgame(path), QString());
    document.levelfile = path;
    QFile::remove(path);
    const LevelDocument::SaveResult result = document.save();
    QVERIFY2(result.saved, qPrintable(result.error));
    QVERIFY(result.hasStart);
    QCOMPARE(contents(path), workedExample());
    // Saving again without changes writes the same file.
    QVERIFY(document.save().saved);
    QCOMPARE(contents(path), workedExample());
}

void TestLevelDocument::saveEmptyLevel()
{
    LevelDocument document;
    document.levelfile = dir.filePath("new.qw");
    const LevelDocument::SaveResult result = document.save();
    QVERIFY(result.saved);
    QVERIFY(!result.hasStart);
    QCOMPARE(contents(document.levelfile).count("\r\n"), 15);
}

void TestLevelDocument::saveRewritesRecords_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("kept"); // the record afterwards
    QTest::addColumn<QByteArray>("block"); // the lines after the header
    QTest::addColumn<bool>("hasStart");

    const QString def = LevelFormat::DefaultNarrative;
    QTest::newRow("read from a file") << "Hall.|PATH N||" << "Hall.|PATH N|" << QByteArray("Hall.\r\nPATH N\r\n\r\n")
                                      << false;
    QTest::newRow("empty narrative") << "|ENDGAME|" << def + "|ENDGAME|" << (def + "\r\nENDGAME\r\n\r\n").toUtf8()
                                     << false;
    QTest::newRow("two lines") << "One\r\nTwo|START|" << "One~Two|START|" << QByteArray("One~Two\r\nSTART\r\n\r\n")
                               << true;
    QTest::newRow("START| in a lockout counts") << "Hall.|PATH S REQUIRES=A Back to START|"
                                                << "Hall.|PATH S REQUIRES=A Back to START|"
                                                << QByteArray("Hall.\r\nPATH S REQUIRES=A Back to START\r\n\r\n")
                                                << true;
}

void TestLevelDocument::saveRewritesRecords()
{
    QFETCH(QString, record);
    QFETCH(QString, kept);
    QFETCH(QByteArray, block);
    QFETCH(bool, hasStart);
    LevelDocument document;
    document.levelfile = dir.filePath("rewrite.qw");
    document.updategrid(3, 3, record, "");
    const LevelDocument::SaveResult result = document.save();
    QVERIFY(result.saved);
    QCOMPARE(result.hasStart, hasStart);
    QCOMPARE(document.locdata(3, 3), kept);
    QVERIFY2(contents(document.levelfile).contains("\r\n[LOCATION 3C]\r\n" + block + "[COMBOS]"),
             contents(document.levelfile).constData());
}

void TestLevelDocument::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the level's folder does not exist") << "missing folder";
    QTest::newRow("the level's path is a folder") << "folder";
    // A file size limit stops a write even for root, whom permissions do not.
    QTest::newRow("the file cannot grow") << "size limit";
    if (geteuid() != 0)
        QTest::newRow("a read-only folder") << "read-only";
}

void TestLevelDocument::failedSaveKeepsTheOldFile()
{
    QFETCH(QString, how);
    const QByteArray old = "[ITEMS]\r\nA old\r\n\r\n";
    const QString folder = dir.filePath("levels");
    QVERIFY(QDir().mkpath(folder));
    QString target = folder + "/kept.qw";
    QVERIFY(TestFiles::write(target, old));
    if (how == "folder")
        target = folder; // the folder that holds the old file
    else if (how == "missing folder")
        target = folder + "/no/such/folder/kept.qw";

    LevelDocument document;
    document.levelfile = target;
    document.updategrid(1, 1, "Room.|START|", "");
    document.updateitems(1, "lamp", false);
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    LevelDocument::SaveResult result;
    if (how == "size limit") {
        // The old file fits under the limit; the new level, written whole
        // before it replaces the old, does not.
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = old.size();
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        result = document.save();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    } else if (how == "read-only") {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        result = document.save();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        result = document.save();
    }

    QVERIFY(!result.saved);
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(target)), qPrintable(result.error));
    // The old file is whole, and nothing was left beside it.
    QCOMPARE(contents(folder + "/kept.qw"), old);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    // The edits are still there to save elsewhere.
    QVERIFY(document.isModified());
    QCOMPARE(document.locdata(1, 1), "Room.|START|");
    QCOMPARE(document.itemnames(1), "lamp");
}

void TestLevelDocument::modified()
{
    const QString path = write("example.qw", workedExample());
    LevelDocument document;
    QVERIFY(!document.isModified());
    document.loadgame(path);
    QVERIFY(!document.isModified());

    // Opening a location turns "~" into line breaks: nothing the file would show.
    document.setLocdata(1, 2, QString(document.locdata(1, 2)).replace("~", "\r\n"));
    QVERIFY(!document.isModified());
    // Committing a location unchanged is no change either.
    document.updategrid(1, 1, "You wake up in a cold cell.|PATH E|ITEM A|ITEM C|START|", "");
    QVERIFY(!document.isModified());

    document.updateitems(2, "torch", false);
    QVERIFY(document.isModified());
    document.levelfile = path;
    QVERIFY(document.save().saved);
    QVERIFY(!document.isModified());
}

QTEST_GUILESS_MAIN(TestLevelDocument)
#include "tst_leveldocument.moc"
