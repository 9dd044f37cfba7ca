// SPDX-License-Identifier: MIT
#include "checkfiles.h"
#include "hint.h"
#include "levelcheck.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A new game of the level after the commands, or nothing when one of them
// found the game no longer waiting for a command.
std::optional<Game> played(const QString &level, const QStringList &commands)
{
    std::optional<Game> game(std::in_place, Game::Setup{level.toStdString(), {}, CheckFiles::english().toStdString()});
    game->start();
    for (const QString &command : commands) {
        if (game->state() != Game::State::Playing)
            return std::nullopt;
        game->enter(toText(command));
    }
    return game;
}

// Rope and hook make the grapple that climbs the wall south of 1B; the knife
// cuts the rope into pieces no rule uses.
const QStringList Grapple{
    "[ITEMS]", "A rope", "B hook", "C grapple", "D knife", "E pieces", "",
    "[LOCATION 1A]", "Cell.", "PATH E", "ITEM A", "ITEM D", "START", "",
    "[LOCATION 1B]", "Yard.", "PATH S REQUIRES=C The wall is too high.", "PATH W", "ITEM B", "",
    "[LOCATION 2B]", "Top of the wall.", "PATH N", "ENDGAME", "",
    "[COMBOS]", "A+B=C", "A+D=E", "",
};

// The lamp at the start lights the way into the hall and, past its one-way
// door, out of the cellar: dropped in the hall, it stays behind.
const QStringList OneWay{
    "[ITEMS]", "A lamp", "",
    "[LOCATION 1A]", "Porch.", "PATH E REQUIRES=A Too dark to go in.", "ITEM A", "START", "",
    "[LOCATION 1B]", "Hall. A door shuts behind whoever goes east.", "PATH E", "",
    "[LOCATION 1C]", "Cellar.", "PATH E REQUIRES=A Too dark.", "",
    "[LOCATION 1D]", "Way out.", "ENDGAME", "",
};

} // namespace

class TestDeadEnds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void waysToGetStuck_data();
    void waysToGetStuck();
    void unreached_data();
    void unreached();
    void hintShortensTheWay_data();
    void hintShortensTheWay();
};

// Each level (a.qw, and b.qw beside it when given): whether a player can get
// stuck, and each way, "FILE LOCATION COMMAND: STATES", shortest first. Each
// way's walkthrough is played through the engine: with all but its last
// command the game can still be won, with the last it cannot.
void TestDeadEnds::waysToGetStuck_data()
{
    QTest::addColumn<QStringList>("level");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("canGetStuck");
    QTest::addColumn<QStringList>("ways");

    QTest::newRow("no way to get stuck")
        << QStringList(Grapple).replaceInStrings("A+D=E", "") << QStringList{} << "false" << QStringList{};
    // The way in: TAKE lamp, E, DROP lamp, E.
    QTest::newRow("a lamp dropped behind a one-way door")
        << OneWay << QStringList{} << "true" << QStringList{"a.qw 1B E: 1"};
    QTest::newRow("the wrong items combined")
        << Grapple << QStringList{} << "true" << QStringList{"a.qw 1A COMBINE rope WITH knife: 6"};
    // The level that is not there is an empty one: no exit leads on.
    QTest::newRow("a LOADLEVEL to a missing file")
        << QStringList{"[LOCATION 1A]", "Crossroads.", "PATH E", "PATH S", "START", "",
                       "[LOCATION 1B]", "Portal.", "LOADLEVEL missing.qw COMMENT=Away.", "",
                       "[LOCATION 2A]", "Home.", "ENDGAME", ""}
        << QStringList{} << "true" << QStringList{"a.qw 1A E: 1"};
    QTest::newRow("a LOADLEVEL the player stops at")
        << QStringList{"[LOCATION 1A]", "Crossroads.", "PATH E", "PATH S", "START", "",
                       "[LOCATION 1B]", "Portal.", "LOADLEVEL b.qw", "",
                       "[LOCATION 2A]", "Home.", "ENDGAME", ""}
        << QStringList{} << "true" << QStringList{"a.qw 1A E: 1 stops"};
    QTest::newRow("stuck only in the second level")
        << QStringList{"[LOCATION 1A]", "Start.", "PATH E", "START", "",
                       "[LOCATION 1B]", "Gate.", "LOADLEVEL b.qw COMMENT=On.", ""}
        << OneWay << "true" << QStringList{"b.qw 1B E: 1"};
    QTest::newRow("a level that cannot be won")
        << QStringList{"[LOCATION 1A]", "A.", "PATH E", "START", "", "[LOCATION 1B]", "B.", ""} << QStringList{}
        << "null" << QStringList{};
}

void TestDeadEnds::waysToGetStuck()
{
    QFETCH(QStringList, level);
    QFETCH(QStringList, second);
    QFETCH(QString, canGetStuck);
    QFETCH(QStringList, ways);

    QTemporaryDir dir;
    const QString path = CheckFiles::write(dir.path(), "a.qw", level);
    if (!second.isEmpty())
        CheckFiles::write(dir.path(), "b.qw", second);
    const CheckReport report =
        LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, 100000});
    QVERIFY2(report.failure.empty(), report.failure.c_str());
    QCOMPARE(report.canGetStuck ? QString(*report.canGetStuck ? "true" : "false") : QString("null"), canGetStuck);

    QStringList found;
    for (const CheckReport::DeadEnd &way : report.deadEnds) {
        found << QString("%1 %2 %3: %4%5")
                     .arg(QFileInfo(QString::fromStdString(way.file)).fileName(),
                          QString::fromStdString(way.location.name()), QString::fromStdString(way.command))
                     .arg(way.states)
                     .arg(way.stopped.empty() ? "" : " stops");
        QStringList commands;
        for (const std::string &command : way.walkthrough)
            commands << QString::fromStdString(command);
        QCOMPARE(commands.last(), QString::fromStdString(way.command));
        QCOMPARE(way.chained, !way.file.ends_with("a.qw"));

        const std::optional<Game> before = played(path, commands.mid(0, commands.size() - 1));
        QVERIFY(before);
        QCOMPARE(Hint::next(*before).kind, Hint::Answer::Kind::Command);
        const std::optional<Game> after = played(path, commands);
        QVERIFY(after);
        if (way.stopped.empty())
            QCOMPARE(Hint::next(*after).kind, Hint::Answer::Kind::NoWin);
        else
            QCOMPARE(after->state(), Game::State::Stopped);
    }
    QCOMPARE(found, ways);
}

// What no play reaches in a.qw (and b.qw beside it, when given), and which
// of it the warnings name: the lint's own warnings already say that 3A
// cannot be reached and that nothing gives the feather, so they are not
// said again.
void TestDeadEnds::unreached_data()
{
    QTest::addColumn<QStringList>("level");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("locations");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("everything reached") << OneWay << QStringList{} << QStringList{} << QStringList{}
                                        << QStringList{} << QStringList{};
    QTest::newRow("rooms, items and rules no play reaches")
        << QStringList{"[ITEMS]", "A key", "B gem", "C crown", "D feather", "",
                       "[LOCATION 1A]", "Start.", "PATH E", "ITEM A", "START", "",
                       "[LOCATION 1B]", "Vault door.", "PATH W", "PATH E REQUIRES=C Sealed.", "ENDGAME", "",
                       "[LOCATION 1C]", "Vault.", "PATH W", "ITEM B", "",
                       "[LOCATION 3A]", "Island.", "",
                       "[COMBOS]", "A+B=C", "D+A=B", ""}
        << QStringList{} << QStringList{"1C", "3A"} << QStringList{"gem", "crown", "feather"}
        << QStringList{"A+B=C", "D+A=B"}
        << QStringList{"1C Location 1C is never entered", "- Item B (gem) is never carried",
                       "- Item C (crown) is never carried", "- The rule \"A+B=C\" never combines anything",
                       "- The rule \"D+A=B\" never combines anything"};
    QTest::newRow("a level behind a door that never opens")
        << QStringList{"[LOCATION 1A]", "Start.", "PATH E REQUIRES=Z Shut.", "START", "",
                       "[LOCATION 1B]", "Gate.", "PATH W", "LOADLEVEL b.qw COMMENT=On.", ""}
        << OneWay << QStringList{"1B"} << QStringList{} << QStringList{}
        << QStringList{"1B Location 1B is never entered", "- In %1: No play from the start gets"};
}

void TestDeadEnds::unreached()
{
    QFETCH(QStringList, level);
    QFETCH(QStringList, second);
    QFETCH(QStringList, locations);
    QFETCH(QStringList, items);
    QFETCH(QStringList, rules);
    QFETCH(QStringList, warnings);

    QTemporaryDir dir;
    const QString path = CheckFiles::write(dir.path(), "a.qw", level);
    if (!second.isEmpty())
        CheckFiles::write(dir.path(), "b.qw", second);
    warnings.replaceInStrings("%1", dir.filePath("b.qw"));
    const CheckReport report =
        LevelCheck::checkFile(path.toStdString(), {CheckFiles::english().toStdString(), 1, 100000});
    QVERIFY(report.unreached);
    // A level no play gets to has all of it unreached.
    QCOMPARE(report.unreached->size(), std::size_t(second.isEmpty() ? 1 : 2));
    if (!second.isEmpty())
        QCOMPARE(report.unreached->back().locations.size(), std::size_t(4));
    const CheckReport::Unreached &found = report.unreached->front();
    QStringList foundLocations;
    for (const GridRef ref : found.locations)
        foundLocations << QString::fromStdString(ref.name());
    auto strings = [](const std::vector<std::string> &texts) {
        QStringList list;
        for (const std::string &text : texts)
            list << QString::fromStdString(text);
        return list;
    };
    QCOMPARE(foundLocations, locations);
    QCOMPARE(strings(found.items), items);
    QCOMPARE(strings(found.rules), rules);

    QStringList said;
    for (const Problem &problem : report.problems) {
        const QString text = QString::fromStdString(problem.text);
        if (text.contains(" in any play from the start.") || text.contains("No play from the start"))
            said << (problem.location ? QString::fromStdString(problem.location->name()) : "-") + ' ' + text;
    }
    QCOMPARE(said.size(), warnings.size());
    for (qsizetype i = 0; i < said.size(); ++i)
        QVERIFY2(said[i].startsWith(warnings[i]), qPrintable(said[i]));
}

// From states that random play reaches, the hint's command leaves the way
// to win one command shorter, and from a dead end no command leads back.
void TestDeadEnds::hintShortensTheWay_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("a level with a dead end") << "a.qw" << Grapple;
    QTest::newRow("the bundled adventure") << QStringLiteral(QUILLMOOR_BIN_DIR "/QUILLMOOR.qw") << QStringList{};
}

void TestDeadEnds::hintShortensTheWay()
{
    QFETCH(QString, level);
    QFETCH(QStringList, lines);

    QTemporaryDir dir;
    const QString path = lines.isEmpty() ? level : CheckFiles::write(dir.path(), level, lines);
    QRandomGenerator random(18);
    int hinted = 0;
    int lost = 0;
    for (int walk = 0; walk < 40; ++walk) {
        std::optional<Game> game = played(path, {});
        const int steps = int(random.bounded(60));
        for (int step = 0; step < steps && game->state() == Game::State::Playing; ++step) {
            // A move, or a take, drop or combine of the level's items.
            QStringList commands{"N", "S", "E", "W"};
            QStringList carried;
            for (int item = 0; item < Level::ItemCount; ++item) {
                const QString name = toQString(game->level().items[item]);
                if (name.isEmpty())
                    continue;
                commands << "TAKE " + name << "DROP " + name;
                if (game->isCarried(item + 1))
                    carried << name;
            }
            for (const QString &a : carried) {
                for (const QString &b : carried)
                    commands << "COMBINE " + a + " WITH " + b;
            }
            game->enter(toText(commands[random.bounded(int(commands.size()))]));
        }
        if (game->state() != Game::State::Playing)
            continue;
        const Hint::Answer hint = Hint::next(*game);
        QVERIFY(hint.kind != Hint::Answer::Kind::Unknown);
        game->enter(hint.command.empty() ? Text(U"E") : hint.command);
        if (hint.kind == Hint::Answer::Kind::NoWin) {
            ++lost;
            if (game->state() == Game::State::Playing)
                QCOMPARE(Hint::next(*game).kind, Hint::Answer::Kind::NoWin);
            continue;
        }
        ++hinted;
        if (hint.steps == 1) {
            QVERIFY(game->askingToEnd());
        } else {
            const Hint::Answer after = Hint::next(*game);
            QCOMPARE(after.kind, Hint::Answer::Kind::Command);
            QCOMPARE(after.steps, hint.steps - 1);
        }
    }
    QVERIFY(hinted > 10);
    if (lines.isEmpty())
        QCOMPARE(lost, 0);
    else
        QVERIFY(lost > 0);
}

QTEST_GUILESS_MAIN(TestDeadEnds)
#include "tst_deadends.moc"
