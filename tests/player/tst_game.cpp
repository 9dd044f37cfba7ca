// SPDX-License-Identifier: MIT
#include "game.h"
#include "gamefiles.h"
#include "recordinghost.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Fields = LanguageTable::Fields;

namespace {

const QString Cell = "Cell.\r\nThere is an exit south. There is an exit east. You see rope. You see hook. \r\n>";
const QString CellEmpty = "Cell.\r\nThere is an exit south. There is an exit east. \r\n>";
const QString Yard = "Yard.\r\nWind.\r\nThere is an exit north. There is an exit south. There is an exit east. "
                     "There is an exit west. You see brass key. You see lamp. You see lamp. You see oil. "
                     "You see pebble. \r\n>";
const QString YardNoOil = QString(Yard).remove("You see oil. ");
const QString Help = "?:\r\nHELP, ?\r\nI, INVENTORY\r\nN, north, NORTH\r\nS, south, SOUTH\r\nE, east, EAST\r\n"
                     "W, west, WEST\r\nTAKE , GET  __________\r\nDROP , PUT  __________\r\n"
                     "COMBINE , USE  __________ WITH, AND __________.\r\nQ, QUIT\r\n\r\n";
const QStringList Grapple{"take rope", "take hook", "combine rope with hook"};

QStringList german()
{
    QStringList messages = GameFiles::english();
    messages[11] = "Ausgang";
    return messages;
}

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void splitfields_data();
    void splitfields();
    void startup_data();
    void startup();
    void languageChoice_data();
    void languageChoice();
    void commands_data();
    void commands();
    void records();
    void endOfGameYes();
    void quitYes();
    void faults_data();
    void faults();
    void heldFiles();

private:
    // Writes the files and starts the game with the level as its command line.
    void start(const QByteArray &level = GameFiles::adventure(),
               const QByteArray &language = GameFiles::language({{"English", GameFiles::english()}}));
    // Types each command at the end of the console and presses Enter.
    void type(const QStringList &commands);
    QString inDir(QString text) const { return text.replace("$DIR", dir->path()); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<RecordingHost> host;
    std::unique_ptr<Game> game;
};

void TestGame::init()
{
    game.reset();
    dir = std::make_unique<QTemporaryDir>();
    host = std::make_unique<RecordingHost>();
}

void TestGame::start(const QByteArray &level, const QByteArray &language)
{
    const QString levelPath = GameFiles::write(dir->path(), "a.qw", level);
    GameFiles::write(dir->path(), "field.qw", GameFiles::field());
    // A null language leaves the language file missing.
    const QString languagePath = language.isNull() ? dir->filePath("Language.txt")
                                                   : GameFiles::write(dir->path(), "Language.txt", language);
    game = std::make_unique<Game>(*host, Game::Setup{levelPath.toStdString(), {}, languagePath.toStdString()});
    game->start();
    host->answerQuestions(*game);
}

void TestGame::type(const QStringList &commands)
{
    for (const QString &command : commands) {
        host->console += command + "\r\n";
        game->enter(toText(host->console));
        host->answerQuestions(*game);
    }
}

void TestGame::splitfields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields"); // the rest are empty
    QTest::addColumn<bool>("fits");

    QTest::newRow("empty") << "" << QStringList{} << true;
    QTest::newRow("empty field kept") << "a||b" << QStringList{"a", "", "b"} << true;
    QTest::newRow("not trimmed") << " a | b" << QStringList{" a ", " b"} << true;
    QTest::newRow("30 fields") << QStringList(30, "x").join('|') << QStringList(30, "x") << true;
    QTest::newRow("30 separators, nothing after") << QString(30, '|') << QStringList{} << true;
    QTest::newRow("31 fields") << QStringList(31, "x").join('|') << QStringList(30, "x") << false;
}

void TestGame::splitfields()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(bool, fits);
    Fields result;
    result.fill(U"stale");
    const Text split = toText(text); // the fields view it
    QCOMPARE(LanguageTable::splitfields(split, result), fits);
    while (fields.size() < LanguageTable::FieldCount)
        fields.append(QString());
    QStringList got;
    for (TextView field : result)
        got << toQString(field);
    QCOMPARE(got, fields);
}

void TestGame::startup_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("console");
    QTest::addColumn<Game::State>("state");

    const QString banner = "Text Quillmoor Player: v1.0.1\r\nMade with the Quillmoor authoring kit\r\n\r\n";
    QTest::newRow("one language starts at once")
        << GameFiles::language({{"Select English", GameFiles::english()}})
        << banner + "Default Language:\r\n[1] Default English\r\n\r\n>" + Cell << Game::State::Playing;
    QTest::newRow("two languages: the menu")
        << GameFiles::language({{"English", GameFiles::english()}, {"Deutsch] (neu)", german()}})
        << banner + "Select Language:\r\n[1] English\r\n[2] Deutsch (neu)\r\n\r\n>" << Game::State::ChoosingLanguage;
    QTest::newRow("a message beginning with [ opens no language")
        << GameFiles::language({{"English", QStringList{"[not a language"} + GameFiles::english().mid(1)}})
        << banner + "Default Language:\r\n[1] English\r\n\r\n>" + Cell << Game::State::Playing;
}

void TestGame::startup()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, console);
    QFETCH(Game::State, state);
    start(GameFiles::adventure(), language);
    QCOMPARE(host->console, console);
    QCOMPARE(game->state(), state);
}

void TestGame::languageChoice_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("chosen"); // 0: the menu again

    QTest::newRow("word") << "x" << 0;
    QTest::newRow("nothing") << "" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("too big") << "3" << 0;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("beyond 16 bits") << "99999" << 0;
    QTest::newRow("far beyond 16 bits") << "-1e300" << 0;
    QTest::newRow("blanks around") << "  2 " << 2;
    QTest::newRow("blanks inside") << "1 " "\t" "0" << 0;
    QTest::newRow("number then text") << "2nd" << 2;
    QTest::newRow("fraction rounds up") << "1.6" << 2;
    QTest::newRow("half goes to even (2)") << "2.5" << 2;
    QTest::newRow("half goes to even (2) from 1.5") << "1.5" << 2;
    QTest::newRow("half goes to even (0)") << "0.5" << 0;
    QTest::newRow("exponent") << "0.1e1" << 1;
    QTest::newRow("sign") << "+2" << 2;
    QTest::newRow("after the last >") << "9>1" << 1;
}

void TestGame::languageChoice()
{
    QFETCH(QString, answer);
    QFETCH(int, chosen);
    start(GameFiles::adventure(), GameFiles::language({{"English", GameFiles::english()}, {"Deutsch", german()}}));
    const QString menu = "\r\n[1] English\r\n[2] Deutsch\r\n\r\n>";
    const QString before = host->console;
    type({answer});
    if (chosen == 0) {
        QCOMPARE(game->state(), Game::State::ChoosingLanguage);
        QCOMPARE(host->console, before + answer + "\r\n" + menu);
    } else {
        QCOMPARE(game->state(), Game::State::Playing);
        QCOMPARE(host->console, chosen == 1 ? Cell : QString(Cell).replace("There is an exit", "Ausgang"));
    }
}

void TestGame::commands_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("console");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QStringList>("questions");

    const QList<bool> none;
    const QString wall = "\r\nTop of the wall.\r\nYou have won!\r\nThere is an exit north. \r\n>";

    // Recognising commands
    QTest::newRow("empty command") << QStringList{""} << none << "I do not understand ''. Try HELP.\r\n" + Cell << "1A"
                                   << QStringList{};
    QTest::newRow("trailing space is no direction")
        << QStringList{"e "} << none << "I do not understand 'e '. Try HELP.\r\n" + Cell << "1A" << QStringList{};
    QTest::newRow("lower case") << QStringList{"e"} << none << Yard << "1B" << QStringList{};
    QTest::newRow("second word of a list") << QStringList{"EaSt"} << none << Yard << "1B" << QStringList{};
    QTest::newRow("only the text after the last >") << QStringList{"w>x>e"} << none << Yard << "1B" << QStringList{};
    QTest::newRow("help") << QStringList{"?"} << none << Help + Cell << "1A" << QStringList{};
    QTest::newRow("inventory, nothing carried") << QStringList{"i"} << none << "You carry:\r\n\r\n" + Cell << "1A"
                                                << QStringList{};
    QTest::newRow("inventory in letter order")
        << QStringList{"take hook", "take rope", "inventory"} << none << "You carry:\r\nrope\r\nhook\r\n\r\n" + CellEmpty
        << "1A" << QStringList{};
    QTest::newRow("quit answered No") << QStringList{"q"} << none << "Then carry on.\r\n" + Cell << "1A"
                                      << QStringList{"Do you really want to quit?"};

    // Moving
    QTest::newRow("no path that way") << QStringList{"w"} << none << "You cannot go that way.\r\n" + Cell << "1A"
                                      << QStringList{};
    QTest::newRow("a path off the map leads nowhere")
        << QStringList{"e", "n"} << none << "You cannot go that way.\r\n" + Yard << "1B" << QStringList{};
    QTest::newRow("locked: the lockout text, trimmed")
        << QStringList{"s"} << none << "The wall is too high.\r\n" + Cell << "1A" << QStringList{};
    QTest::newRow("locked: the item lying here is not enough")
        << (Grapple + QStringList{"drop grapple", "s"}) << none
        << "The wall is too high.\r\n" + QString(CellEmpty).replace("east. ", "east. You see grapple. ") << "1A"
        << QStringList{};
    QTest::newRow("a requirement letter in lower case blocks silently")
        << QStringList{"e", "e"} << none << Yard << "1B" << QStringList{};

    // End of game
    QTest::newRow("locked: open with the item; end of game answered No")
        << (Grapple + QStringList{"s"}) << QList<bool>{false} << wall << "2A" << QStringList{"End the game?"};
    QTest::newRow("the end-of-game question comes every turn")
        << (Grapple + QStringList{"s", "x"}) << QList<bool>{false, false}
        << "\r\nI do not understand 'x'. Try HELP.\r\n" + wall.mid(2) << "2A"
        << QStringList{"End the game?", "End the game?"};

    // Taking and dropping
    QTest::newRow("take") << QStringList{"take rope"} << none
                          << "You take the rope.\r\n" + QString(Cell).remove("You see rope. ") << "1A" << QStringList{};
    QTest::newRow("take in capitals, name in lower case")
        << QStringList{"GET  Rope "} << none << "You take the rope.\r\n" + QString(Cell).remove("You see rope. ")
        << "1A" << QStringList{};
    QTest::newRow("take word alone is not a command")
        << QStringList{"take"} << none << "I do not understand 'take'. Try HELP.\r\n" + Cell << "1A" << QStringList{};
    QTest::newRow("take without a name") << QStringList{"take "} << none << "Take what?\r\n" + Cell << "1A"
                                         << QStringList{};
    QTest::newRow("take what lies elsewhere")
        << QStringList{"take Lamp"} << none << "There is no 'lamp' here.\r\n" + Cell << "1A" << QStringList{};
    QTest::newRow("two items of one name") << QStringList{"e", "take lamp"} << none
                                           << "You take the lamp.\r\nYou take the lamp.\r\n"
            + QString(Yard).remove("You see lamp. ")
                                           << "1B" << QStringList{};
    QTest::newRow("drop: listed again in letter order")
        << QStringList{"take rope", "drop rope"} << none << "You drop the rope here.\r\n" + Cell << "1A"
        << QStringList{};
    QTest::newRow("drop what is not carried")
        << QStringList{"drop oil"} << none << "You do not carry 'oil' .\r\n" + Cell << "1A" << QStringList{};
    QTest::newRow("drop without a name") << QStringList{"put "} << none << "Drop what?\r\n" + Cell << "1A"
                                         << QStringList{};

    // Combining
    QTest::newRow("combine") << Grapple << none
                             << "You combine the rope with the hook and make grapple.\r\n" + CellEmpty << "1A"
                             << QStringList{};
    QTest::newRow("combine in the other order, another combine word")
        << QStringList{"take rope", "take hook", "use Hook ROPE"} << none
        << "You combine the hook with the rope and make grapple.\r\n" + CellEmpty << "1A" << QStringList{};
    QTest::newRow("combine: the result is carried")
        << (Grapple + QStringList{"i"}) << none << "You carry:\r\ngrapple\r\n\r\n" + CellEmpty << "1A"
        << QStringList{};
    QTest::newRow("combine with one item carried")
        << QStringList{"take rope", "combine rope with hook"} << none
        << "You cannot combine 'combine rope with hook' : name two things you carry.\r\n"
            + QString(Cell).remove("You see rope. ")
        << "1A" << QStringList{};
    QTest::newRow("combine naming three carried items is refused")
        << QStringList{"take rope", "take hook", "e", "take oil", "combine rope hook oil"} << none
        << "You cannot combine 'combine rope hook oil' : name two things you carry.\r\n" + YardNoOil << "1B"
        << QStringList{};
    QTest::newRow("combine: two spaces name no item")
        << QStringList{"take rope", "take hook", "e", "take oil", "combine  rope  hook "} << none
        << "You combine the rope with the hook and make grapple.\r\n" + YardNoOil << "1B" << QStringList{};
    QTest::newRow("combine one item named twice")
        << QStringList{"e", "take brass key", "combine brass key"} << none
        << "You cannot combine 'combine brass key' : that is one item.\r\n"
            + QString(Yard).remove("You see brass key. ")
        << "1B" << QStringList{};
    QTest::newRow("combine: A+A is no rule for A and another")
        << QStringList{"take rope", "e", "take oil", "combine rope oil"} << none
        << "You cannot combine 'combine rope oil' .\r\n" + YardNoOil << "1B" << QStringList{};
    QTest::newRow("combine: no rule, another combine word")
        << QStringList{"take rope", "e", "take oil", "use oil rope"} << none
        << "You cannot combine 'use oil rope' .\r\n" + YardNoOil << "1B" << QStringList{};
    QTest::newRow("combine: both rules for a pair")
        << QStringList{"e", "take oil", "take pebble", "combine oil and pebble"} << none
        << "You combine the oil with the pebble and make torch.\r\n"
           "You combine the oil with the pebble and make grapple.\r\n"
            + QString(YardNoOil).remove("You see pebble. ")
        << "1B" << QStringList{};
    QTest::newRow("combine: a result that is no item")
        << QStringList{"take hook", "e", "take oil", "combine hook oil", "i"} << none
        << "You carry:\r\n\r\n" + YardNoOil << "1B" << QStringList{};

    // Another level
    QTest::newRow("load level: comment, then the new start location")
        << QStringList{"e", "s"} << none << "\r\nGate.\r\nYou pass the gate. \r\nYou see stone. \r\n>" << "5E"
        << QStringList{};
    QTest::newRow("load level: the inventory is lost")
        << QStringList{"e", "take lamp", "s", "i"} << none << "You carry:\r\n\r\nField.\r\nYou see stone. \r\n>"
        << "5E" << QStringList{};
}

void TestGame::commands()
{
    QFETCH(QStringList, commands);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, console);
    QFETCH(QString, position);
    QFETCH(QStringList, questions);
    start();
    host->answers = answers;
    type(commands);
    QCOMPARE(host->console, console);
    QCOMPARE(QString::fromStdString(game->position().name()), position);
    QCOMPARE(host->questions, questions);
    QCOMPARE(host->messages, QStringList{});
    QCOMPARE(game->state(), Game::State::Playing);
}

void TestGame::records()
{
    start();
    type({"take rope", "drop rope"});
    QCOMPARE(toQString(game->location({1, 1})),
             "Cell.|PATH E|PATH S REQUIRES=C  The wall is too high. ||ITEM B|START||ITEM A|");
    type({"take rope"});
    QVERIFY(!toQString(game->location({1, 1})).contains("ITEM A"));
    type({"take hook", "combine rope hook"});
    QVERIFY(game->isCarried(3));
    QVERIFY(!game->isCarried(1) && !game->isCarried(2));
    QCOMPARE(toQString(game->location({1, 1})), "Cell.|PATH E|PATH S REQUIRES=C  The wall is too high. |||START|||");
}

void TestGame::endOfGameYes()
{
    start();
    host->answers = {true};
    type(Grapple + QStringList{"s"});
    QCOMPARE(game->state(), Game::State::Ended);
    QCOMPARE(host->console, "\r\nTop of the wall.\r\nYou have won!\r\n");
    // An ended game takes no more lines.
    const QString transcript = host->transcript;
    type({"n"});
    QCOMPARE(host->transcript, transcript);
}

void TestGame::quitYes()
{
    start();
    host->answers = {true};
    type({"QUIT"});
    QCOMPARE(game->state(), Game::State::Ended);
    QCOMPARE(host->console, QString());
}

void TestGame::faults_data()
{
    QTest::addColumn<QByteArray>("level");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("messages"); // OK boxes; $DIR is the test folder
    QTest::addColumn<QString>("stop"); // empty: still playing
    QTest::addColumn<QString>("console");

    const QByteArray english = GameFiles::language({{"English", GameFiles::english()}});
    const QByteArray adventure = GameFiles::adventure();
    const QString tail = "\r\n$DIR/a.qw";

    QTest::newRow("no start location")
        << GameFiles::crlf({"[LOCATION 1A]", "Cell.", ""}) << english << QStringList{} << QStringList{}
        << "The level \"$DIR/a.qw\" has no start location." + tail
        << "Text Quillmoor Player: v1.0.1\r\nMade with the Quillmoor authoring kit\r\n\r\nDefault Language:\r\n"
           "[1] English\r\n\r\n>";
    QTest::newRow("a level read up to its fault")
        << GameFiles::crlf({"[LOCATION 1A]", "Cell.", "START", "", "[ITEMS]", "A rope"}) << english
        << QStringList{"x"}
        << QStringList{"Level file \"$DIR/a.qw\", line 5: the [ITEMS] section runs into the end of the file "
                       "without the empty line that ends it."
                       + tail}
        << "" << "I do not understand 'x'. Try HELP.\r\nCell.\r\n\r\n>";
    QTest::newRow("language file missing")
        << adventure << QByteArray() << QStringList{} << QStringList{}
        << "Cannot open the language file \"$DIR/Language.txt\": No such file or directory." + tail
        << "Text Quillmoor Player: v1.0.1\r\nMade with the Quillmoor authoring kit\r\n\r\nSelect Language:";
    QStringList tooLong = GameFiles::english();
    tooLong[14] = QStringList(31, "N").join('|');
    QTest::newRow("a word list of 31 fields")
        << adventure << GameFiles::language({{"English", tooLong}}) << QStringList{} << QStringList{}
        << "Language file \"$DIR/Language.txt\", line 17: message 15 of \"English\" has more than 30 fields." + tail
        << "Text Quillmoor Player: v1.0.1\r\nMade with the Quillmoor authoring kit\r\n\r\nDefault Language:\r\n"
           "[1] English\r\n\r\n>Cell.\r\n";
    QTest::newRow("load level without COMMENT=")
        << GameFiles::crlf({"[LOCATION 1A]", "Gate.", "PATH E", "LOADLEVEL field.qw", "START", ""}) << english
        << QStringList{} << QStringList{}
        << "The level \"$DIR/a.qw\", location 1A: the LOADLEVEL line has no \"COMMENT=\" after the level file name, "
           "so no level can be loaded."
            + tail
        << "Text Quillmoor Player: v1.0.1\r\nMade with the Quillmoor authoring kit\r\n\r\nDefault Language:\r\n"
           "[1] English\r\n\r\n>Gate.\r\n";
    QTest::newRow("load level that does not exist")
        << GameFiles::crlf({"[LOCATION 1A]", "Gate.", "LOADLEVEL nowhere.qw COMMENT=Off you go.", "START", ""})
        << english << QStringList{"x"}
        << QStringList{"Cannot open the level file \"nowhere.qw\": No such file or directory." + tail} << ""
        << "I do not understand 'x'. Try HELP.\r\n\r\n\r\n>";
    // A level the game cannot start with stops it at once, with one message.
    QTest::newRow("an empty level file")
        << QByteArray("") << english << QStringList{} << QStringList{}
        << "\"$DIR/a.qw\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no \"[ITEMS]\" "
           "or \"[COMBOS]\" section."
            + tail
        << "";
    QTest::newRow("a binary level file")
        << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\r\n\x03\0>\0", 18) << english << QStringList{}
        << QStringList{}
        << "\"$DIR/a.qw\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no \"[ITEMS]\" "
           "or \"[COMBOS]\" section."
            + tail
        << "";
    QTest::newRow("a level as the language file")
        << adventure << adventure << QStringList{} << QStringList{}
        << "\"$DIR/Language.txt\" is not a language file (no language block): it is a Quillmoor level (\"[MAP]\" on "
           "line 1)."
            + tail
        << "Text Quillmoor Player: v1.0.1\r\nMade with the Quillmoor authoring kit\r\n\r\nSelect Language:";
    QTest::newRow("load level that is no level")
        << GameFiles::crlf({"[LOCATION 1A]", "Gate.", "LOADLEVEL Language.txt COMMENT=Off you go.", "START", ""})
        << english << QStringList{"x"}
        << QStringList{"\"$DIR/Language.txt\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block "
                       "and no \"[ITEMS]\" or \"[COMBOS]\" section."
                       + tail}
        << "" << "I do not understand 'x'. Try HELP.\r\n\r\n\r\n>";
    QTest::newRow("load level that is a device")
        << GameFiles::crlf({"[LOCATION 1A]", "Gate.", "LOADLEVEL /dev/zero COMMENT=Off you go.", "START", ""})
        << english << QStringList{"x"}
        << QStringList{"Cannot open the level file \"/dev/zero\": it is a device or a pipe, not a level file." + tail}
        << "" << "I do not understand 'x'. Try HELP.\r\n\r\n\r\n>";
}

void TestGame::faults()
{
    QFETCH(QByteArray, level);
    QFETCH(QByteArray, language);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, messages);
    QFETCH(QString, stop);
    QFETCH(QString, console);
    start(level, language);
    type(commands);
    for (QString &message : messages)
        message = inDir(message);
    QCOMPARE(host->messages, messages);
    QCOMPARE(game->state(), stop.isEmpty() ? Game::State::Playing : Game::State::Stopped);
    QCOMPARE(toQString(game->stopMessage()), inDir(stop));
    QCOMPARE(host->console, console);
}

void TestGame::heldFiles()
{
    // Held in memory under the names they would have in the folder, the
    // files play as they do from the folder, the gate finding its level
    // beside the first.
    const QByteArray language = GameFiles::language({{"English", GameFiles::english()}});
    const QStringList commands{"take rope", "e", "s", "i", "take stone", "w"};
    start(GameFiles::adventure(), language);
    type(commands);
    const QString fromFiles = host->console;
    QVERIFY2(fromFiles.contains("Field."), qPrintable(fromFiles));

    const std::string folder = (dir->path() + "/held").toStdString();
    Game::Setup setup{folder + "/a.qw", {}, folder + "/Language.txt"};
    setup.heldLevels = {{folder + "/a.qw", GameFiles::adventure().toStdString()},
                        {folder + "/field.qw", GameFiles::field().toStdString()}};
    setup.heldLanguage = language.toStdString();
    host = std::make_unique<RecordingHost>();
    game = std::make_unique<Game>(*host, setup);
    game->start();
    type(commands);
    QCOMPARE(host->console, fromFiles);
    QVERIFY(host->messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
