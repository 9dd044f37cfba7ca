// SPDX-License-Identifier: MIT
#include "leveldocument.h"
#include "qtext.h"
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

namespace {

using Names = std::array<Text, LevelDocument::ItemCount>;

// Items as letters: "AC" for items A and C.
std::uint32_t itemBits(const QString &letters)
{
    std::uint32_t bits = 0;
    for (QChar letter : letters)
        bits |= std::uint32_t(1) << (letter.unicode() - u'A');
    return bits;
}

QString placedLetters(const LevelDocument &document)
{
    QString letters;
    for (int item = 0; item < LevelDocument::ItemCount; ++item) {
        if (document.placed()[item])
            letters += QChar(u'A' + item);
    }
    return letters;
}

// The rules as their lines, "A+B=C".
QStringList ruleLines(const std::vector<Combo> &rules)
{
    QStringList lines;
    for (const Combo &rule : rules)
        lines << toQString(rule.line());
    return lines;
}

std::vector<Combo> rulesOf(const QStringList &lines)
{
    std::vector<Combo> rules;
    for (const QString &line : lines)
        rules.push_back(Combo::fromLine(toText(line)));
    return rules;
}

LocationRecord record(const QString &text)
{
    return LocationRecord(toText(text));
}

} // namespace

class TestLevelDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void updateitems_data();
    void updateitems();
    void updategrid_data();
    void updategrid();
    void marksAndPictures();
    void loadOneLocation();
    void loadItemsAndRules();
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

void TestLevelDocument::updateitems_data()
{
    QTest::addColumn<QString>("name"); // of item C
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QStringList>("table"); // what the document keeps

    QTest::newRow("two spaces stored as they are") << "  " << QStringList{} << QStringList{};
    QTest::newRow("a name with blanks around it") << " lamp " << QStringList{"A+B=C"} << QStringList{"A+B=C"};
    QTest::newRow("two rules in order") << "" << QStringList{"D+E=F", "A+B=C"} << QStringList{"D+E=F", "A+B=C"};
    QStringList many;
    for (int i = 0; i < 120; ++i)
        many << QStringLiteral("A+B=%1").arg(QChar(u'A' + i % 26));
    QTest::newRow("more rules than rows") << "oil" << many << many.mid(0, 100);
}

void TestLevelDocument::updateitems()
{
    QFETCH(QString, name);
    QFETCH(QStringList, rules);
    QFETCH(QStringList, table);
    LevelDocument document;
    document.updateitems(Names{U"old"}, rulesOf({"X+Y=Z", "X+Y=Z", "X+Y=Z"}));
    QSignalSpy changed(&document, &LevelDocument::itemsChanged);
    QSignalSpy located(&document, &LevelDocument::locationChanged);

    Names names;
    names[2] = toText(name);
    document.updateitems(names, rulesOf(rules));

    QCOMPARE(changed.size(), 1);
    QCOMPARE(located.size(), 0);
    QCOMPARE(document.itemnames()[0], Text());
    QCOMPARE(document.itemnames()[2], toText(name));
    QCOMPARE(ruleLines(document.combotable()), table);
}

void TestLevelDocument::updategrid_data()
{
    QTest::addColumn<QString>("placedBefore");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("freeItems");
    QTest::addColumn<QString>("placedAfter");

    QTest::newRow("a letter in both ends up free") << "" << "Hall.|PATH N|ITEM A|" << "A" << "";
    QTest::newRow("the record places") << "" << "Hall.|PATH S|PATH W|ITEM A|ITEM B|" << "" << "AB";
    QTest::newRow("an item moved away stays placed") << "AB" << "Hall.|ITEM B|" << "" << "AB";
    QTest::newRow("the free items clear") << "ABC" << "Hall.|" << "CA" << "B";
    QTest::newRow("not used frees what it lists") << "AB" << "" << "AB" << "";
    QTest::newRow("a tag read anywhere") << "" << "Hall with an ITEM Z in it.|" << "" << "Z";
    QTest::newRow("item names need not be placed") << "" << "Hall.|ITEM a|ITEMB|" << "" << "";
}

void TestLevelDocument::updategrid()
{
    QFETCH(QString, placedBefore);
    QFETCH(QString, record);
    QFETCH(QString, freeItems);
    QFETCH(QString, placedAfter);
    LevelDocument document;
    for (QChar letter : placedBefore)
        document.updategrid({9, 9}, ::record(QStringLiteral("Store.|ITEM ") + letter + u'|'), 0);
    QSignalSpy located(&document, &LevelDocument::locationChanged);

    document.updategrid({2, 5}, ::record(record), itemBits(freeItems));

    QCOMPARE(document.locdata({2, 5}).text(), toText(record));
    QCOMPARE(placedLetters(document), placedAfter);
    QCOMPARE(located.size(), 1);
    QCOMPARE(located.at(0).at(0).value<GridRef>(), (GridRef{2, 5}));
    // A commit gives the location its picture, and leaves its mark alone.
    QVERIFY(document.pictured({2, 5}));
    QVERIFY(!document.inUse({2, 5}));
}

void TestLevelDocument::marksAndPictures()
{
    LevelDocument document;
    QSignalSpy located(&document, &LevelDocument::locationChanged);
    document.setInUse({4, 5}, true);
    QVERIFY(document.inUse({4, 5}));
    QVERIFY(!document.pictured({4, 5}));
    document.setInUse({4, 5}, false);
    QVERIFY(!document.inUse({4, 5}));
    // Outside the map nothing is marked and nothing is told.
    document.setInUse({0, 3}, true);
    document.setInUse({3, 10}, true);
    document.updategrid({10, 1}, record("Nowhere.|"), 0);
    QVERIFY(!document.inUse({0, 3}));
    QCOMPARE(located.size(), 2);
    // Neither the mark nor the picture is part of the level.
    QVERIFY(!document.isModified());
}

void TestLevelDocument::loadOneLocation()
{
    const QString path = write("one.qw", "[MAP]\r\n\r\n[LOCATION 5E]\r\nMiddle.\r\nPATH N\r\nITEM B\r\n\r\n");
    LevelDocument document;
    document.setInUse({1, 1}, true);
    QSignalSpy loaded(&document, &LevelDocument::loaded);
    QCOMPARE(document.loadgame(path), QString());
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(document.locdata({5, 5}).text(), Text(U"Middle.|PATH N|ITEM B||"));
    QCOMPARE(document.level().mapSections, 1);
    QCOMPARE(placedLetters(document), "B");
    // Exactly the location read is marked and pictured; no other is touched.
    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef at = GridRef::fromIndex(i);
        QCOMPARE(document.pictured(at), (at == GridRef{5, 5}));
        QCOMPARE(document.inUse(at), (at == GridRef{5, 5} || at == GridRef{1, 1}));
    }
}

void TestLevelDocument::loadItemsAndRules()
{
    const QString path = write("items.qw", "[ITEMS]\r\nA lamp\r\nB  \r\nC oil\r\n\r\n[COMBOS]\r\nA+C=G\r\nA+C=7\r\n"
                                           "C+A=G\r\n\r\n");
    LevelDocument document;
    QCOMPARE(document.loadgame(path), QString());
    QCOMPARE(document.itemnames()[0], Text(U"lamp"));
    QCOMPARE(document.itemnames()[1], Text(U" "));
    QCOMPARE(document.itemnames()[3], Text());
    // Both rules for G stay, and so does the one for "7".
    QCOMPARE(ruleLines(document.combotable()), (QStringList{"A+C=G", "A+C=7", "C+A=G"}));
}

void TestLevelDocument::loadKeepsWhatWasReadBeforeAFault()
{
    const QString path = write("broken.qw", "[LOCATION 1A]\r\nKept.\r\n\r\n[LOCATION 1Z]\r\n\r\n");
    LevelDocument document;
    const QString error = document.loadgame(path);
    QVERIFY2(error.contains("broken.qw") && error.contains("line 4"), qPrintable(error));
    QCOMPARE(document.locdata({1, 1}).text(), Text(U"Kept.||"));
    QVERIFY(document.inUse({1, 1}));
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

    const QString def = toQString(LocationRecord::DefaultNarrative);
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
    QTest::newRow("a start line with blanks is no start") << "Hall.|START |" << "Hall.|START |"
                                                           << QByteArray("Hall.\r\nSTART \r\n\r\n") << false;
}

void TestLevelDocument::saveRewritesRecords()
{
    QFETCH(QString, record);
    QFETCH(QString, kept);
    QFETCH(QByteArray, block);
    QFETCH(bool, hasStart);
    LevelDocument document;
    document.levelfile = dir.filePath("rewrite.qw");
    document.updategrid({3, 3}, ::record(record), 0);
    const LevelDocument::SaveResult result = document.save();
    QVERIFY(result.saved);
    QCOMPARE(result.hasStart, hasStart);
    QCOMPARE(document.locdata({3, 3}).text(), toText(kept));
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
    document.updategrid({1, 1}, record("Room.|START|"), 0);
    Names names;
    names[0] = U"lamp";
    document.updateitems(names, {});
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
    QCOMPARE(toQString(document.locdata({1, 1}).text()), "Room.|START|");
    QCOMPARE(toQString(document.itemnames()[0]), "lamp");
}

void TestLevelDocument::modified()
{
    const QString path = write("example.qw", workedExample());
    LevelDocument document;
    QVERIFY(!document.isModified());
    document.loadgame(path);
    QVERIFY(!document.isModified());

    // Opening a location turns "~" into line breaks: nothing the file would show.
    document.restoreLineBreaks({1, 2});
    QVERIFY(document.locdata({1, 2}).text().find(U"\r\n") != Text::npos);
    QVERIFY(!document.isModified());
    // Committing a location unchanged is no change either, nor is a mark.
    document.updategrid({1, 1}, record("You wake up in a cold cell.|PATH E|ITEM A|ITEM C|START|"), 0);
    document.setInUse({5, 5}, true);
    QVERIFY(!document.isModified());
    // A change taken back is no change.
    const LocationRecord hall = document.locdata({2, 2});
    document.updategrid({2, 2}, record("Somewhere else.|"), 0);
    QVERIFY(document.isModified());
    document.updategrid({2, 2}, hall, 0);
    QVERIFY(!document.isModified());

    Names names = document.itemnames();
    names[1] = U"torch";
    document.updateitems(names, document.combotable());
    QVERIFY(document.isModified());
    document.levelfile = path;
    QVERIFY(document.save().saved);
    QVERIFY(!document.isModified());
}

QTEST_GUILESS_MAIN(TestLevelDocument)
#include "tst_leveldocument.moc"
