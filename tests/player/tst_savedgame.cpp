// SPDX-License-Identifier: MIT
#include "game.h"
#include "gamefiles.h"
#include "qtext.h"
#include "recordinghost.h"
#include "savedgame.h"
#include "sha256.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// The saved-game file: what is written reads back the same, and every file
// that is not a whole saved game of this version is refused with its reason.
// A game saved at any point and restored in a new game plays on exactly as
// the game it was saved from; it shows where the player stands without
// what walking in sets off; and a level or language file that is not the
// one it was played with is refused, the new game left as it was.
class TestSavedGame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void roundTrip();
    void refused_data();
    void refused();
    void playsOn_data();
    void playsOn();
    void shows_data();
    void shows();
    void restore_data();
    void restore();

private:
    void writeFiles();
    QString path(const QString &name) const { return dir.filePath(name); }
    Game::Setup setup(const QString &language = "Language.txt") const
    {
        return {path("a.qw").toStdString(), {}, path(language).toStdString()};
    }

    QTemporaryDir dir;
};

namespace {

const QByteArray Digest(64, 'a');

// The lines of a saved game, sealed with the "end" line that checks them.
QByteArray sealed(const QByteArrayList &lines)
{
    const QByteArray body = lines.join('\n') + '\n';
    return body + "end " + QByteArray::fromStdString(Sha256::hex(body.toStdString())) + '\n';
}

const QByteArrayList Lines{
    "Quillmoor saved game, version 1",
    "first-level a.qw",
    "level b.qw",
    "level-sha256 " + Digest,
    "language-file Language.txt",
    "language-sha256 " + Digest,
    "language 2",
    "location 3C",
    "carried AZ",
    "record 1A Cell.|PATH E||",
};

// Lines with line n (0 the heading) replaced, or taken out when with is null.
QByteArrayList changed(int n, const QByteArray &with)
{
    QByteArrayList lines = Lines;
    if (with.isNull())
        lines.removeAt(n);
    else
        lines[n] = with;
    return lines;
}

std::optional<SavedGame> read(const QByteArray &bytes, std::string *error)
{
    return SavedGame::read(bytes.toStdString(), "g.qwsave", error);
}

} // namespace

void TestSavedGame::roundTrip()
{
    // Names and records with every character the escapes are for.
    SavedGame saved;
    saved.firstLevel = "levels/a b\\c.qw";
    saved.level = {"/abs/\x01\x7F\n\r.qw", std::string(64, 'f')};
    saved.language = {"Sprache ä.txt", std::string(64, '0')};
    saved.languageNumber = 30;
    saved.position = {9, 9};
    saved.carried = (1u << 26) - 1;
    saved.records = {{{1, 1}, U"Yard.\r\nWind.|PATH N|\\x41 |ITEM A|"},
                     {{1, 2}, U""},
                     {{9, 9}, U"Ünïcödé ✓ trailing |  "}};
    const std::string written = saved.text();
    std::string error;
    QCOMPARE(SavedGame::read(written, "g.qwsave", &error), std::optional<SavedGame>(saved));
    QCOMPARE(error, std::string());
    QCOMPARE(written.find('\r'), std::string::npos);
    // Line ends made CR LF on the way change nothing.
    QByteArray crlf = QByteArray::fromStdString(written).replace('\n', "\r\n");
    QCOMPARE(read(crlf, &error), std::optional<SavedGame>(saved));
    // Nothing carried, nothing changed.
    saved.carried = 0;
    saved.records.clear();
    QCOMPARE(SavedGame::read(saved.text(), "g.qwsave", &error), std::optional<SavedGame>(saved));
}

void TestSavedGame::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QString line = "Saved game \"g.qwsave\", line %1: ";
    const QString notSaved
        = "\"g.qwsave\" is not a Quillmoor saved game: its first line is not \"Quillmoor saved game, version 1\".";
    QTest::newRow("empty") << QByteArray() << notSaved;
    QTest::newRow("a level") << QByteArray("[MAP]\r\n\r\n[LOCATION 1A]\r\nCell.\r\nSTART\r\n\r\n") << notSaved;
    QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10) << notSaved;
    QTest::newRow("a later version")
        << sealed(changed(0, "Quillmoor saved game, version 2"))
        << "\"g.qwsave\" is a Quillmoor saved game of version \"2\", which this version of Quillmoor cannot read (it "
           "reads version 1).";
    QTest::newRow("no end line") << Lines.join('\n') + '\n'
                                 << "The saved game \"g.qwsave\" is cut short: it ends on line 10 without its \"end\" "
                                    "line.";
    const QString damaged = "The saved game \"g.qwsave\" is damaged: its lines do not match the check on its \"end\" "
                            "line (line %1), so it has been changed or cut since it was written.";
    QTest::newRow("cut inside the end line") << sealed(Lines).chopped(20) << damaged.arg(11);
    QTest::newRow("a record changed") << sealed(Lines).replace("PATH E", "PATH W") << damaged.arg(11);
    QTest::newRow("a line after the end") << sealed(Lines) + "carried B\n" << damaged.arg(11);
    QTest::newRow("the check in capitals") << QByteArray(sealed(Lines)).replace("end ", "END ").toLower() << notSaved;

    // Sealed, yet not made by a saver: each entry checked for itself.
    QTest::newRow("an entry missing") << sealed(changed(3, QByteArray()))
                                      << line.arg(4) + "the entry \"level-sha256\" should come next, not "
                                                       "\"language-file Language.txt\".";
    QTest::newRow("entries swapped") << sealed(Lines.mid(0, 8) << "record 1A x" << "carried A")
                                     << line.arg(9) + "the entry \"carried\" should come next, not \"record 1A x\".";
    QTest::newRow("an empty name") << sealed(changed(2, "level"))
                                   << line.arg(3) + "\"level\" needs the name of a file, with \\\\, \\r, \\n and \\x "
                                                    "escapes only.";
    QTest::newRow("a NUL in a name") << sealed(changed(1, "first-level a\\x00.qw"))
                                     << line.arg(2) + "\"first-level\" needs the name of a file, with \\\\, \\r, \\n "
                                                      "and \\x escapes only.";
    QTest::newRow("a digest in capitals")
        << sealed(changed(5, "language-sha256 " + Digest.toUpper()))
        << line.arg(6) + "\"language-sha256\" needs 64 lower-case hexadecimal digits.";
    QTest::newRow("a short digest") << sealed(changed(3, "level-sha256 " + Digest.left(63)))
                                    << line.arg(4) + "\"level-sha256\" needs 64 lower-case hexadecimal digits.";
    const QString language = line.arg(7) + "\"language\" needs the number of a language, 1 to 30.";
    for (const char *number : {"0", "31", "01", "1x", "", "99999999999999999999"})
        QTest::addRow("language \"%s\"", number) << sealed(changed(6, QByteArray("language ") + number)) << language;
    const QString location = line.arg(8) + "\"location\" needs a location of the map, 1A to 9I.";
    for (const char *at : {"0A", "1J", "3c", "10A", ""})
        QTest::addRow("location \"%s\"", at) << sealed(changed(7, QByteArray("location ") + at)) << location;
    const QString carried = line.arg(9) + "\"carried\" needs the letters of items, A to Z, each once and in order.";
    for (const char *letters : {"BA", "AA", "a", "A B"})
        QTest::addRow("carried \"%s\"", letters) << sealed(changed(8, QByteArray("carried ") + letters)) << carried;
    const QString record = line.arg(11) + "\"record\" needs a location of the map, later than the one before, a space "
                                          "and the record, with \\\\, \\r, \\n and \\x escapes only.";
    for (const char *second : {"record 1A again", "record 0A x", "record 1Bx", "record 1B", "record 1B \\q",
                               "record 1B \\x4", "record 1B end\\"})
        QTest::addRow("%s", second) << sealed(Lines + QByteArrayList{second}) << record;
}

void TestSavedGame::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    std::string why;
    QCOMPARE(read(bytes, &why), std::nullopt);
    QCOMPARE(QString::fromStdString(why), error);
}

namespace {

// Plays a line and answers No to every question, as a player who goes on.
void play(Game &game, RecordingHost &host, const QString &line)
{
    game.enter(toText(line));
    host.answerQuestions(game);
}

} // namespace

void TestSavedGame::initTestCase()
{
    QVERIFY(dir.isValid());
    writeFiles();
}

void TestSavedGame::writeFiles()
{
    GameFiles::write(dir.path(), "a.qw", GameFiles::adventure());
    GameFiles::write(dir.path(), "field.qw", GameFiles::field());
    QStringList other = GameFiles::english();
    other[11] = "Ausgang";
    GameFiles::write(dir.path(), "Language.txt",
                     GameFiles::language({{"English", GameFiles::english()}, {"Other", other}}));
    GameFiles::write(dir.path(), "One.txt", GameFiles::language({{"English", GameFiles::english()}}));
}

void TestSavedGame::playsOn_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 24; ++seed)
        QTest::addRow("game %u", seed) << seed;
}

void TestSavedGame::playsOn()
{
    QFETCH(quint32, seed);
    static const QStringList words{
        "n", "s", "e", "w", "take rope", "take hook", "take brass key", "take lamp", "take oil", "take pebble",
        "take stone", "drop rope", "drop hook", "drop lamp", "drop pebble", "drop stone", "use rope hook",
        "use oil pebble", "use pebble oil", "use brass key", "i", "?", "xyzzy", "q",
    };
    QRandomGenerator random(seed);
    // A third of the games can climb to the end of the game.
    QStringList commands;
    if (seed % 3 == 0)
        commands << "take rope" << "take hook" << "use rope hook";
    for (int i = 0; i < 40; ++i)
        commands << words[random.bounded(int(words.size()))];
    const int at = random.bounded(int(commands.size()) + 1);

    RecordingHost whole;
    Game game(whole, setup());
    game.start();
    play(game, whole, QString::number(1 + seed % 2));
    RecordingHost again;
    Game restored(again, setup());
    for (int i = 0; i <= commands.size(); ++i) {
        if (i == at) {
            const std::string text = game.saved()->text();
            std::string error;
            const std::optional<SavedGame> read = SavedGame::read(text, "g.qwsave", &error);
            QVERIFY2(read, error.c_str());
            QCOMPARE(restored.restore(*read, "g.qwsave"), std::string());
        }
        if (i == commands.size())
            break;
        play(game, whole, commands[i]);
        if (i >= at) {
            play(restored, again, commands[i]);
            QCOMPARE(again.console, whole.console);
        }
    }
    QCOMPARE(restored.saved(), game.saved());
    QCOMPARE(restored.state(), game.state());
}

void TestSavedGame::shows_data()
{
    QTest::addColumn<QStringList>("commands"); // played before the save; none: the game begins at location
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("shown");

    QTest::newRow("a location play has changed")
        << QStringList{"take rope", "e", "drop rope"} << ""
        << "Yard.\r\nWind.\r\nThere is an exit north. There is an exit south. There is an exit east. There is an exit "
           "west. You see rope. You see brass key. You see lamp. You see lamp. You see oil. You see pebble. \r\n>";
    QTest::newRow("the end of the game, no question")
        << QStringList{"take rope", "take hook", "use rope hook", "s"} << ""
        << "Top of the wall.\r\nThere is an exit north. \r\n>";
    QTest::newRow("a location that loads a level, not loaded") << QStringList() << "2B"
                                                               << "Gate.\r\nThere is an exit north. \r\n>";
    QTest::newRow("a location of the level loaded")
        << QStringList{"e", "s", "take stone"} << "" << "Field.\r\n\r\n>";
}

void TestSavedGame::shows()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, location);
    QFETCH(QString, shown);
    std::optional<SavedGame> saved;
    std::string error;
    if (commands.isEmpty()) {
        saved = SavedGame::startingAt(path("a.qw").toStdString(), {location[0].digitValue(), location[1].unicode() - 'A' + 1},
                                      0, path("Language.txt").toStdString(), &error);
    } else {
        RecordingHost host;
        Game game(host, setup());
        game.start();
        play(game, host, "1");
        for (const QString &command : commands)
            play(game, host, command);
        saved = game.saved();
    }
    QVERIFY2(saved, error.c_str());
    RecordingHost host;
    Game game(host, setup());
    QCOMPARE(game.restore(*saved, "g.qwsave"), std::string());
    QCOMPARE(host.console, shown);
    QCOMPARE(game.state(), Game::State::Playing);
    QCOMPARE(game.levelFile(), saved->level.name);
    QCOMPARE(host.messages, QStringList());
}

void TestSavedGame::restore_data()
{
    QTest::addColumn<QString>("change"); // what differs from the game as saved
    QTest::addColumn<QString>("outcome"); // the level played, or why the game cannot go on

    const QString since = " has changed since the game was saved in \"$DIR/g.qwsave\", so the game cannot go on.";
    QTest::newRow("nothing") << "" << "$DIR/a.qw";
    QTest::newRow("the level changed") << "level changed" << "The level file \"$DIR/a.qw\"" + since;
    QTest::newRow("the level gone")
        << "level gone"
        << "Cannot open the level file \"$DIR/a.qw\" that the game saved in \"$DIR/g.qwsave\" plays: No such file or "
           "directory.";
    QTest::newRow("the level found beside the saved game") << "level relative" << "$DIR/a.qw";
    QTest::newRow("a level held by its name") << "level held" << "$DIR/a.qw";
    QTest::newRow("a level held under another name, known by its digest") << "level held elsewhere" << "held.qw";
    QTest::newRow("a level held by its name, changed") << "level held changed" << "The level file \"$DIR/a.qw\"" + since;
    QTest::newRow("a device for the level")
        << "level device"
        << "Cannot open the level file \"/dev/zero\" that the game saved in \"$DIR/g.qwsave\" plays: it is a device or a "
           "pipe, not a level file.";
    QTest::newRow("a language file for the level")
        << "level language"
        << "\"$DIR/Language.txt\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no "
           "\"[ITEMS]\" or \"[COMBOS]\" section.";
    QTest::newRow("the language file changed") << "language changed" << "The language file \"$DIR/Language.txt\"" + since;
    QTest::newRow("another language file")
        << "language other"
        << "The language file \"$DIR/One.txt\" is not the one the game saved in \"$DIR/g.qwsave\" was played with "
           "(\"$DIR/Language.txt\"), so the game cannot go on.";
    QTest::newRow("a language the file does not hold")
        << "language 3"
        << "The saved game \"$DIR/g.qwsave\" plays language 3 of the language file \"$DIR/Language.txt\", which holds 2.";
    QTest::newRow("no language file")
        << "language gone" << "Cannot open the language file \"$DIR/None.txt\": No such file or directory.";
}

void TestSavedGame::restore()
{
    QFETCH(QString, change);
    QFETCH(QString, outcome);
    outcome.replace("$DIR", dir.path());
    std::string error;
    std::optional<SavedGame> saved = SavedGame::startingAt(path("a.qw").toStdString(), {1, 2}, 1,
                                                           path("Language.txt").toStdString(), &error);
    QVERIFY2(saved, error.c_str());
    const QByteArray level = GameFiles::adventure();
    Game::Setup played = setup();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    if (change == "level changed" || change == "level gone" || change == "level held elsewhere")
        QVERIFY(QFile::remove(path("a.qw")));
    if (change == "level changed")
        GameFiles::write(dir.path(), "a.qw", level + "\r\n");
    if (change == "level relative")
        saved->level.name = "a.qw";
    if (change == "level held" || change == "level held changed")
        played.heldLevels[path("a.qw").toStdString()] = (change == "level held" ? level : level + " ").toStdString();
    if (change == "level held elsewhere") {
        played.heldLevels["held.qw"] = level.toStdString();
        played.heldLevels["field.qw"] = GameFiles::field().toStdString();
    }
    if (change == "level device")
        saved->level.name = "/dev/zero";
    if (change == "level language")
        saved->level = saved->language;
    if (change == "language changed")
        GameFiles::write(dir.path(), "Language.txt", GameFiles::language({{"English", GameFiles::english()}}) + "\r\n");
    if (change == "language other")
        played = setup("One.txt");
    if (change == "language 3")
        saved->languageNumber = 3;
    if (change == "language gone")
        played = setup("None.txt");

    RecordingHost host;
    Game game(host, played);
    const std::string refusal = game.restore(*saved, path("g.qwsave").toStdString());
    QVERIFY(QDir::setCurrent(previous));
    writeFiles();
    if (!outcome.startsWith(dir.path()) && outcome != "held.qw") {
        QCOMPARE(QString::fromStdString(refusal), outcome);
        QCOMPARE(game.state(), Game::State::Starting);
        QCOMPARE(host.transcript, QString());
        return;
    }
    QCOMPARE(QString::fromStdString(refusal), QString());
    QCOMPARE(QString::fromStdString(game.levelFile()), outcome);
    QCOMPARE(host.console, "Yard.\r\nWind.\r\nThere is an exit north. There is an exit south. There is an exit east. "
                           "There is an exit west. You see brass key. You see lamp. You see lamp. You see oil. You see "
                           "pebble. \r\n>");
    QVERIFY(game.isCarried(1));
    // It plays on in the level found.
    play(game, host, "s");
    QCOMPARE(host.console, "\r\nGate.\r\nYou pass the gate. \r\nYou see stone. \r\n>");
}

QTEST_APPLESS_MAIN(TestSavedGame)
#include "tst_savedgame.moc"
