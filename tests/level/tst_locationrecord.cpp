// SPDX-License-Identifier: MIT
#include "locationpicture.h"
#include "locationrecord.h"
#include "qtext.h"

#include <QTest>

namespace {

LocationRecord record(const QString &text)
{
    return LocationRecord(toText(text));
}

// A requirement as "K: lockout", "none" when the path has none.
QString requirementOf(const LocationRecord &record, Direction d)
{
    const auto requirement = record.requirement(d);
    if (!requirement)
        return QStringLiteral("none");
    const QString letter = requirement->letter ? toQString(Text(1, requirement->letter)) : QStringLiteral("-");
    return letter + u':' + toQString(Text(requirement->lockout));
}

QString kindName(LocationRecord::Kind kind)
{
    static const char *names[] = {"not used", "normal", "start", "end", "load"};
    return QLatin1String(names[int(kind)]);
}

} // namespace

// Every way the programs read a record, side by side: which reading a tag
// gets decides what stored levels do, so each is pinned down here.
class TestLocationRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readings_data();
    void readings();
    void levelLoads_data();
    void levelLoads();
    void positions_data();
    void positions();
    void lines_data();
    void lines();
    void compose_data();
    void compose();
    void playChanges();
};

void TestLocationRecord::readings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("narrative"); // the player's
    QTest::addColumn<QString>("editorNarrative");
    QTest::addColumn<QString>("paths"); // N S E W present
    QTest::addColumn<QString>("north"); // requirement of the north path
    QTest::addColumn<QString>("south");
    QTest::addColumn<QString>("items"); // letters with an "ITEM X" tag
    QTest::addColumn<QString>("kind"); // the area editor's, first guess normal
    QTest::addColumn<bool>("end");
    QTest::addColumn<bool>("startsForSave");
    QTest::addColumn<QString>("picture");

    const QString def = toQString(LocationRecord::DefaultNarrative);
    QTest::newRow("empty") << "" << "" << "" << "" << "none" << "none" << "" << "normal" << false << false
                           << "0000.bmp";
    QTest::newRow("locked south, item")
        << "Dark hall.|PATH N|PATH S REQUIRES=B The gate is shut.|ITEM A||" << "Dark hall." << "Dark hall."
        << "NS" << "none" << "B: The gate is shut." << "A" << "normal" << false << false << "OI1100.bmp";
    QTest::newRow("first piece a tag") << "PATH N|ITEM A|" << "PATH N" << def << "N" << "none" << "none" << "A"
                                       << "normal" << false << false << "OI1000.bmp";
    QTest::newRow("item tag first shows no items") << "ITEM C|PATH E|" << "ITEM C" << def << "E" << "none"
                                                   << "none" << "C" << "normal" << false << false << "0010.bmp";
    QTest::newRow("tag word in the narrative acts")
        << "The PATH S is ENDGAME.|" << "The PATH S is ENDGAME." << def << "S" << "none" << "none" << ""
        << "end" << true << false << "EN0100.bmp";
    QTest::newRow("start") << "Here.|PATH E|START|" << "Here." << "Here." << "E" << "none" << "none" << ""
                           << "start" << false << true << "AN0010.bmp";
    QTest::newRow("START inside a lockout") << "N.|PATH W REQUIRES=A Not START yet.|" << "N." << "N." << "W"
                                            << "none" << "none" << "" << "start" << false << false
                                            << "AN0001.bmp";
    QTest::newRow("start then end: end wins") << "N.|START|ENDGAME|" << "N." << "N." << "" << "none" << "none"
                                              << "" << "end" << true << true << "EN0000.bmp";
    QTest::newRow("load level") << "N.|ITEM D|LOADLEVEL b.qw COMMENT=On.|" << "N." << "N." << "" << "none"
                                << "none" << "D" << "load" << false << false << "EI0000.bmp";
    QTest::newRow("letter missing") << "N.|PATH S REQUIRES=|" << "N." << "N." << "S" << "none" << "-:" << ""
                                    << "normal" << false << false << "0100.bmp";
    QTest::newRow("letter at the end") << "N.|PATH S REQUIRES=" << "N." << "N." << "S" << "none" << "-:" << ""
                                       << "normal" << false << false << "0100.bmp";
    QTest::newRow("lower-case letter kept") << "N.|PATH N REQUIRES=c low|" << "N." << "N." << "N" << "c: low"
                                            << "none" << "" << "normal" << false << false << "1000.bmp";
    QTest::newRow("first requirement counts")
        << "N.|PATH N REQUIRES=K One.|PATH N REQUIRES=J Two.|" << "N." << "N." << "N" << "K: One." << "none" << ""
        << "normal" << false << false << "1000.bmp";
    QTest::newRow("lockout to the end") << "N.|PATH N REQUIRES=K Open end" << "N." << "N." << "N"
                                        << "K: Open end" << "none" << "" << "normal" << false << false
                                        << "1000.bmp";
    QTest::newRow("line breaks kept") << "One\r\nTwo|ITEM Z||" << "One\r\nTwo" << "One\r\nTwo" << "" << "none"
                                      << "none" << "Z" << "normal" << false << false << "OI0000.bmp";
}

void TestLocationRecord::readings()
{
    QFETCH(QString, text);
    const LocationRecord r = record(text);
    QTEST(toQString(Text(r.narrative())), "narrative");
    QTEST(toQString(Text(r.editorNarrative())), "editorNarrative");
    QString paths;
    for (Direction d : Directions) {
        if (r.hasPath(d))
            paths += QLatin1Char(directionLetter(d));
    }
    QTEST(paths, "paths");
    QTEST(requirementOf(r, Direction::North), "north");
    QTEST(requirementOf(r, Direction::South), "south");
    QString items;
    for (int item = 0; item < 26; ++item) {
        if (r.holdsItem(item))
            items += QChar(u'A' + item);
    }
    QTEST(items, "items");
    QTEST(kindName(r.editorKind(LocationRecord::Kind::Normal)), "kind");
    QTEST(r.isEnd(), "end");
    QTEST(r.startsForSave(), "startsForSave");
    QTEST(QString::fromStdString(LocationPicture::of(r).fileName()), "picture");
}

void TestLocationRecord::levelLoads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("player"); // "file|comment", or "none"
    QTest::addColumn<QString>("editor"); // "file|comment"

    QTest::newRow("as written") << "N.|LOADLEVEL cave.qw COMMENT=You fall.|" << "cave.qw|You fall."
                                << "cave.qw |You fall.";
    QTest::newRow("no comment") << "N.|LOADLEVEL cave.qw|" << "none" << "cave.qw|";
    QTest::newRow("comment in a later piece") << "N.|LOADLEVEL a.qw|ITEM B COMMENT=x|" << "a.qw|ITEM B|x"
                                              << "a.qw|";
    QTest::newRow("no blank before comment") << "LOADLEVEL x.qwCOMMENT=hi" << "x.qw|hi" << "x.qw|hi";
    QTest::newRow("bare word") << "N.|LOADLEVEL|" << "none" << "|";
    QTest::newRow("two blanks") << "N.|LOADLEVEL  COMMENT=|" << "|" << " |";
    QTest::newRow("comment ends at the bar") << "N.|LOADLEVEL b.qw COMMENT=Go on.|PATH N|" << "b.qw|Go on."
                                             << "b.qw |Go on.";
}

void TestLocationRecord::levelLoads()
{
    QFETCH(QString, text);
    const LocationRecord r = record(text);
    const auto load = r.levelLoad();
    QTEST(load ? toQString(load->file) + u'|' + toQString(load->comment) : QStringLiteral("none"), "player");
    const LocationRecord::LevelLoad editor = r.editorLevelLoad();
    QTEST(toQString(editor.file) + u'|' + toQString(editor.comment), "editor");
    // Where the comment stands, so a message can point at its line.
    for (const LocationRecord::LevelLoad &read : {load.value_or(editor), editor}) {
        if (read.commentAt != TextView::npos)
            QCOMPARE(toQString(r.text().substr(read.commentAt, read.comment.size())), toQString(read.comment));
    }
}

// Where the first of a tag stands in the record; -1 for nowhere.
void TestLocationRecord::positions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("east");
    QTest::addColumn<int>("itemB");
    QTest::addColumn<int>("levelLoad");

    QTest::newRow("tag lines") << "N.|PATH E|ITEM B|LOADLEVEL b.qw COMMENT=On.|" << 3 << 10 << 17;
    QTest::newRow("the narrative first") << "PATH E ITEM B LOADLEVEL|PATH E|ITEM B|" << 0 << 7 << 14;
    QTest::newRow("a locked path") << "N.|PATH E REQUIRES=B Shut.|" << 3 << -1 << -1;
    QTest::newRow("none") << "N.|PATH W|ITEM b|" << -1 << -1 << -1;
}

void TestLocationRecord::positions()
{
    QFETCH(QString, text);
    const LocationRecord r = record(text);
    auto at = [](std::size_t offset) { return offset == TextView::npos ? -1 : int(offset); };
    QTEST(at(r.pathAt(Direction::East)), "east");
    QTEST(at(r.itemAt(1)), "itemB");
    QTEST(at(r.levelLoadAt()), "levelLoad");
}

void TestLocationRecord::lines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("start");
    QTest::addColumn<int>("placed");

    QTest::newRow("start") << "START" << true << -1;
    QTest::newRow("start with spaces") << "  START " << true << -1;
    QTest::newRow("start in a sentence") << "START HERE" << false << -1;
    QTest::newRow("item") << "ITEM C" << false << 2;
    QTest::newRow("item with spaces") << " ITEM Z  " << false << 25;
    QTest::newRow("lower-case item letter") << "ITEM c" << false << -1;
    QTest::newRow("item with more") << "ITEM CD" << false << -1;
}

void TestLocationRecord::lines()
{
    QFETCH(QString, line);
    QTEST(LocationRecord::isStartLine(toText(line)), "start");
    QTEST(LocationRecord::placedItemOfLine(toText(line)), "placed");
}

void TestLocationRecord::compose_data()
{
    using Kind = LocationRecord::Kind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");

    QTest::newRow("normal") << int(Kind::Normal) << "Dark/hall.|PATH N|PATH S REQUIRES=B The/gate.|ITEM A|";
    QTest::newRow("start") << int(Kind::Start) << "Dark/hall.|PATH N|PATH S REQUIRES=B The/gate.|ITEM A|START|";
    QTest::newRow("end") << int(Kind::End) << "Dark/hall.|PATH N|PATH S REQUIRES=B The/gate.|ITEM A|ENDGAME|";
    QTest::newRow("load") << int(Kind::LoadLevel)
                          << "Dark/hall.|PATH N|PATH S REQUIRES=B The/gate.|ITEM A|LOADLEVEL b.qw COMMENT=|";
    QTest::newRow("not used") << int(Kind::NotUsed) << "";
}

void TestLocationRecord::compose()
{
    QFETCH(int, kind);
    LocationRecord::Contents contents;
    // A typed "|" would split the record; only the narrative keeps its blanks.
    contents.narrative = U"Dark|hall.";
    contents.paths[0].exists = true;
    contents.paths[1] = {true, U'B', U"  The|gate.  "};
    contents.paths[2] = {false, U'C', U"unticked"};
    contents.items = {0};
    contents.kind = LocationRecord::Kind(kind);
    contents.levelFile = U" b.qw ";
    QTEST(toQString(LocationRecord::compose(contents).text()), "expected");
}

void TestLocationRecord::playChanges()
{
    LocationRecord r = record("N.|ITEM A|PATH N|ITEM A||");
    r.removeItem(0);
    QCOMPARE(toQString(r.text()), QStringLiteral("N.||PATH N|||"));
    r.appendItem(1);
    QCOMPARE(toQString(r.text()), QStringLiteral("N.||PATH N|||ITEM B|"));
    LocationRecord empty;
    empty.appendItem(2);
    QCOMPARE(toQString(Text(empty.narrative())), QStringLiteral("ITEM C"));
}

QTEST_APPLESS_MAIN(TestLocationRecord)
#include "tst_locationrecord.moc"
