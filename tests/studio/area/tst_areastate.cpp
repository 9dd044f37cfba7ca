// SPDX-License-Identifier: MIT
#include "areastate.h"
#include "qtext.h"

#include <QTest>

Q_DECLARE_METATYPE(AreaState)
Q_DECLARE_METATYPE(AreaState::Names)

namespace {

using Kind = AreaState::Kind;
constexpr int North = int(Direction::North);
constexpr int South = int(Direction::South);
constexpr int East = int(Direction::East);
constexpr int West = int(Direction::West);

// Items A to F: C has no name, D and E share one, F is only blanks.
const AreaState::Names Names{U"lamp", U"key", U"", U"coin", U"coin", U"  "};

const Text Lamp = U"lamp";
const Text Key = U"key";
const Text Coin = U"coin";

const QString LockoutWarning = QStringLiteral("Warning: the %1 path requires a %2 but gives no reason to the player!"
                                              "\r\nPlease consider adding a Lockout Narrative.");
const QString UnknownWarning = QStringLiteral("Warning: the %1 path requires a %2 but there is no item of that name!"
                                              "\r\nThe path has been stored without a required item.");
const QString NarrativeWarning = QStringLiteral("You are loading a new level but you are not telling the player!"
                                                "\r\nPlease consider adding a New Level Narrative.");
const QString FileWarning = QStringLiteral("Warning: this area type is a 'load new level' but you have not specified "
                                           "the level file name!");

// A path as one short text: "x" ticked or "-" not, the item in brackets, the lockout.
QString describe(const AreaState::Path &path)
{
    return (path.exists ? u'x' : u'-') + (u'[' + toQString(path.item) + u']') + toQString(path.lockout);
}

// An item list entry as "letter:name".
QStringList describe(const std::vector<AreaState::Item> &items)
{
    QStringList result;
    for (const AreaState::Item &item : items)
        result.append(QChar(u'A' + item.letter) + (u':' + toQString(item.name)));
    return result;
}

std::array<bool, Level::ItemCount> placedFrom(const QString &letters)
{
    std::array<bool, Level::ItemCount> placed{};
    for (QChar letter : letters)
        placed[letter.unicode() - u'A'] = true;
    return placed;
}

// The items whose bits are set, as letters in order: "AB".
QString letters(std::uint32_t bits)
{
    QString result;
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (bits & (std::uint32_t(1) << item))
            result += QChar(u'A' + item);
    }
    return result;
}

QStringList texts(const std::vector<Text> &all)
{
    QStringList result;
    for (const Text &one : all)
        result << toQString(one);
    return result;
}

AreaState::Names namesOf(const QStringList &list)
{
    AreaState::Names names;
    for (int i = 0; i < int(list.size()); ++i)
        names[i] = toText(list.at(i));
    return names;
}

// The location the commit rows start from: Dark hall with an open north path,
// a locked south path and the lamp lying here.
AreaState darkHall()
{
    AreaState state;
    state.narrative = U"Dark hall.";
    state.paths[North] = {true, {}, {}};
    state.paths[South] = {true, Key, U"The gate is shut."};
    state.itemsHere = {{Lamp, 0}};
    state.type = Kind::Normal;
    return state;
}

template<typename Change>
AreaState darkHallWith(Change change)
{
    AreaState state = darkHall();
    change(state);
    return state;
}

} // namespace

class TestAreaState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void open_data();
    void open();
    void commit_data();
    void commit();
};

void TestAreaState::open_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<QString>("placed");
    QTest::addColumn<Kind>("type");
    QTest::addColumn<QString>("narrative");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("here");
    QTest::addColumn<QStringList>("unused");
    QTest::addColumn<QString>("levelFile");
    QTest::addColumn<QString>("levelNarrative");

    using T = Kind;
    const QStringList closed{"-[]", "-[]", "-[]", "-[]"};
    const QStringList allFree{"A:lamp", "B:key", "D:coin", "E:coin"};

    QTest::newRow("empty and not in use") << "" << false << "" << T::NotUsed << "" << closed << QStringList{}
                                          << allFree << "" << "";
    QTest::newRow("Dark hall")
        << "Dark hall.|PATH N|PATH S REQUIRES=B The gate is shut.|ITEM A||" << true << "A" << T::Normal
        << "Dark hall." << QStringList{"x[]", "x[key] The gate is shut.", "-[]", "-[]"} << QStringList{"A:lamp"}
        << QStringList{"B:key", "D:coin", "E:coin"} << "" << "";
    QTest::newRow("each lockout from its own tag")
        << "Hall.|PATH N REQUIRES=A Too dark.|PATH S REQUIRES=B Locked.|" << true << "" << T::Normal << "Hall."
        << QStringList{"x[lamp] Too dark.", "x[key] Locked.", "-[]", "-[]"} << QStringList{} << allFree << ""
        << "";
    QTest::newRow("line breaks in the narrative")
        << "Line one.\r\nLine two.|" << true << "" << T::Normal << "Line one.\r\nLine two." << closed
        << QStringList{} << allFree << "" << "";
    QTest::newRow("first piece is a tag") << "PATH N|ITEM A|" << true << "A" << T::Normal
                                          << "In this area you see nothing unusual."
                                          << QStringList{"x[]", "-[]", "-[]", "-[]"} << QStringList{"A:lamp"}
                                          << QStringList{"B:key", "D:coin", "E:coin"} << "" << "";
    QTest::newRow("narrative holding a tag word")
        << "A PATH winds on.|" << true << "" << T::Normal << "In this area you see nothing unusual." << closed
        << QStringList{} << allFree << "" << "";
    QTest::newRow("load level split") << "Cliff.|LOADLEVEL cave.qw COMMENT=You fall.|" << true << "" << T::LoadLevel
                                      << "Cliff." << closed << QStringList{} << allFree << "cave.qw "
                                      << "You fall.";
    QTest::newRow("load level without comment")
        << "Cliff.|LOADLEVEL cave.qw|PATH N|COMMENT=x|" << true << "" << T::LoadLevel << "Cliff."
        << QStringList{"x[]", "-[]", "-[]", "-[]"} << QStringList{} << allFree << "cave.qw" << "";
    QTest::newRow("required item with a blank name")
        << "Hall.|PATH N REQUIRES=C Shut.|" << true << "" << T::Normal << "Hall."
        << QStringList{"x[] Shut.", "-[]", "-[]", "-[]"} << QStringList{} << allFree << "" << "";
    QTest::newRow("no letter after REQUIRES=")
        << "Hall.|PATH E REQUIRES=9 Shut.|" << true << "" << T::Normal << "Hall."
        << QStringList{"-[]", "-[]", "x[] Shut.", "-[]"} << QStringList{} << allFree << "" << "";
    QTest::newRow("REQUIRES= ends the record")
        << "Hall.|PATH W REQUIRES=" << true << "" << T::Normal << "Hall." << QStringList{"-[]", "-[]", "-[]", "x[]"}
        << QStringList{} << allFree << "" << "";
    QTest::newRow("item with a blank name lies here")
        << "Hall.|ITEM C|ITEM E|" << true << "E" << T::Normal << "Hall." << closed << QStringList{"C:", "E:coin"}
        << QStringList{"A:lamp", "B:key", "D:coin"} << "" << "";
    QTest::newRow("start keeps an unused button's guess away") << "Hall.|START|" << false << "" << T::Start
                                                               << "Hall." << closed << QStringList{} << allFree
                                                               << "" << "";
    QTest::newRow("a narrative puts an unused location in use") << "Hall.|" << false << "" << T::Normal << "Hall."
                                                                << closed << QStringList{} << allFree << "" << "";
    QTest::newRow("blank narrative leaves it unused") << "   |" << false << "" << T::NotUsed << "   " << closed
                                                      << QStringList{} << allFree << "" << "";
}

void TestAreaState::open()
{
    QFETCH(QString, record);
    QFETCH(bool, inUse);
    QFETCH(QString, placed);

    const AreaState state = AreaState::open(LocationRecord(toText(record)), Names, placedFrom(placed), inUse);

    QTEST(state.type, "type");
    QTEST(toQString(state.narrative), "narrative");
    QStringList paths;
    for (const AreaState::Path &path : state.paths)
        paths.append(describe(path));
    QTEST(paths, "paths");
    QTEST(describe(state.itemsHere), "here");
    QTEST(describe(state.unusedItems), "unused");
    QTEST(toQString(state.levelFile), "levelFile");
    QTEST(toQString(state.levelNarrative), "levelNarrative");
}

void TestAreaState::commit_data()
{
    QTest::addColumn<AreaState>("state");
    QTest::addColumn<AreaState::Names>("names");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("freeItems");
    QTest::addColumn<QStringList>("warnings");

    using T = Kind;
    const QString hall = QStringLiteral("Dark hall.|PATH N|PATH S REQUIRES=B The gate is shut.|ITEM A|");

    QTest::newRow("Dark hall") << darkHall() << Names << hall << "" << QStringList{};
    QTest::newRow("start") << darkHallWith([](AreaState &s) { s.type = T::Start; }) << Names << hall + "START|" << ""
                           << QStringList{};
    QTest::newRow("empty lockout")
        << darkHallWith([](AreaState &s) { s.paths[South].lockout = U"   "; }) << Names
        << "Dark hall.|PATH N|PATH S REQUIRES=B |ITEM A|" << "" << QStringList{LockoutWarning.arg("south", toQString(Key))};
    QTest::newRow("load level, both boxes empty")
        << darkHallWith([](AreaState &s) { s.type = T::LoadLevel; }) << Names << hall + "LOADLEVEL  COMMENT=|" << ""
        << QStringList{NarrativeWarning, FileWarning};
    QTest::newRow("load level, file empty") << darkHallWith([](AreaState &s) {
        s.type = T::LoadLevel;
        s.levelNarrative = U"You fall.";
    }) << Names << hall + "LOADLEVEL  COMMENT=You fall.|"
                                            << "" << QStringList{FileWarning};
    QTest::newRow("load level, narrative empty, texts trimmed") << darkHallWith([](AreaState &s) {
        s.type = T::LoadLevel;
        s.levelFile = U"  cave.qw ";
        s.levelNarrative = U"   ";
    }) << Names << hall + "LOADLEVEL cave.qw COMMENT=|"
                                                                << "" << QStringList{NarrativeWarning};
    QTest::newRow("narrative kept as typed, lockout trimmed") << darkHallWith([](AreaState &s) {
        s.narrative = U"  Dark\r\nhall.  ";
        s.paths[South].lockout = U"  Shut. ";
    }) << Names << "  Dark\r\nhall.  |PATH N|PATH S REQUIRES=B Shut.|ITEM A|"
                                                              << "" << QStringList{};
    QTest::newRow("requirement without a tick is dropped")
        << darkHallWith([](AreaState &s) { s.paths[South].exists = false; }) << Names
        << "Dark hall.|PATH N|ITEM A|" << "" << QStringList{};
    QTest::newRow("lamp moved to the unused items") << darkHallWith([](AreaState &s) {
        s.itemsHere.clear();
        s.unusedItems = {{Key, 1}, {Lamp, 0}};
    }) << Names << "Dark hall.|PATH N|PATH S REQUIRES=B The gate is shut.|"
                                                    << "AB" << QStringList{};
    QTest::newRow("not used frees the items lying here") << darkHallWith([](AreaState &s) {
        s.type = T::NotUsed;
        s.paths[South].lockout.clear();
        s.unusedItems = {{Key, 1}};
    }) << Names << ""
                                                         << "AB"
                                                         << QStringList{LockoutWarning.arg("south", toQString(Key))};
    QTest::newRow("slot D's letter with A to C blank")
        << darkHallWith([](AreaState &s) {
               s.paths[South].item = Coin;
               s.itemsHere = {{Coin, AreaState::Item::NoLetter}};
           })
        << namesOf({"", " ", "", "coin"}) << "Dark hall.|PATH N|PATH S REQUIRES=D The gate is shut.|ITEM D|" << ""
        << QStringList{};
    QTest::newRow("shared name requires the first slot")
        << darkHallWith([](AreaState &s) { s.paths[South].item = Coin; }) << Names
        << "Dark hall.|PATH N|PATH S REQUIRES=D The gate is shut.|ITEM A|" << "" << QStringList{};
    QTest::newRow("shared name keeps the entry's own letter")
        << darkHallWith([](AreaState &s) { s.itemsHere = {{Coin, 4}, {U"  ", 5}}; }) << Names
        << "Dark hall.|PATH N|PATH S REQUIRES=B The gate is shut.|ITEM E|" << "" << QStringList{};
    QTest::newRow("unknown item opens the path") << darkHallWith([](AreaState &s) {
        s.paths[North] = {true, U"Key", U"Locked."};
        s.paths[West] = {true, U"sword", U""};
    }) << Names << "Dark hall.|PATH N|PATH S REQUIRES=B The gate is shut.|PATH W|ITEM A|"
                                                 << "" << QStringList{UnknownWarning.arg("north", "Key"),
                                                                      UnknownWarning.arg("west", "sword")};
    QTest::newRow("a typed | splits nothing") << darkHallWith([](AreaState &s) {
        s.narrative = U"Dark|hall.";
        s.paths[South].lockout = U"Shut|tight.";
        s.type = T::LoadLevel;
        s.levelFile = U"a|b.qw";
        s.levelNarrative = U"You|fall.";
    }) << Names << "Dark/hall.|PATH N|PATH S REQUIRES=B Shut/tight.|ITEM A|LOADLEVEL a/b.qw COMMENT=You/fall.|"
                                              << "" << QStringList{};
    QTest::newRow("all six warnings in order") << darkHallWith([](AreaState &s) {
        for (AreaState::Path &path : s.paths)
            path = {true, Key, U" "};
        s.itemsHere.clear();
        s.type = T::LoadLevel;
    }) << Names << "Dark hall.|PATH N REQUIRES=B |PATH S REQUIRES=B |PATH E REQUIRES=B |PATH W REQUIRES=B |"
                  "LOADLEVEL  COMMENT=|"
                                               << ""
                                               << QStringList{LockoutWarning.arg("north", toQString(Key)),
                                                              LockoutWarning.arg("south", toQString(Key)),
                                                              LockoutWarning.arg("east", toQString(Key)),
                                                              LockoutWarning.arg("west", toQString(Key)), NarrativeWarning,
                                                              FileWarning};
}

void TestAreaState::commit()
{
    QFETCH(AreaState, state);
    QFETCH(AreaState::Names, names);

    const AreaState::Commit result = state.commit(names);

    QTEST(toQString(result.record.text()), "record");
    QTEST(letters(result.freeItems), "freeItems");
    QTEST(texts(result.warnings), "warnings");
}

QTEST_APPLESS_MAIN(TestAreaState)
#include "tst_areastate.moc"
