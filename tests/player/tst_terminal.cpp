// SPDX-License-Identifier: MIT
#include "gamefiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Runs the built program in terminal mode with piped input and compares what
// it writes, to the character.
class TestTerminal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sessions_data();
    void sessions();
    void options_data();
    void options();
    void dataFolder_data();
    void dataFolder();
    void savedGames_data();
    void savedGames();

private:
    struct Outcome
    {
        QString out;
        QString err;
        int status = -1;
    };
    // Runs program (the built one unless given) in the test folder; without
    // display when noDisplay.
    Outcome run(const QStringList &arguments, const QByteArray &input, bool noDisplay = false,
                const QString &program = QUILLMOOR_BIN_DIR "/quillmoorplayer");
    QString inDir(QString text) const { return text.replace("$DIR", dir.path()); }

    QTemporaryDir dir;
};

namespace {

const QString Banner = "Text Quillmoor Player: v1.0.1\nMade with the Quillmoor authoring kit\n\n";
const QString Cell = "Cell.\nThere is an exit south. There is an exit east. You see rope. You see hook. \n>";

} // namespace

void TestTerminal::initTestCase()
{
    QVERIFY(dir.isValid());
    GameFiles::write(dir.path(), "a.qw", GameFiles::adventure());
    GameFiles::write(dir.path(), "field.qw", GameFiles::field());
    GameFiles::write(dir.path(), "my level.qw", GameFiles::adventure());
    GameFiles::write(dir.path(), "-x.qw", GameFiles::adventure());
    GameFiles::write(dir.path(), "nostart.qw", GameFiles::crlf({"[LOCATION 1A]", "Cell.", ""}));
    GameFiles::write(dir.path(), "cut.qw", GameFiles::crlf({"[LOCATION 1A]", "Cut.", "START"}));
    GameFiles::write(dir.path(), "Language.txt", GameFiles::language({{"English", GameFiles::english()}}));
    // Lines as an editor or a person may write them: CR LF or LF, the last
    // one maybe without its end.
    GameFiles::write(dir.path(), "first.txt", "take rope\r\ntake hook\n");
    GameFiles::write(dir.path(), "win.txt", "take rope\ntake hook\nuse rope hook\ns");
    GameFiles::write(dir.path(), "empty.txt", "");
    QStringList german = GameFiles::english();
    german[11] = "Ausgang";
    GameFiles::write(dir.path(), "two.txt",
                     GameFiles::language({{"English", GameFiles::english()}, {"Deutsch", german}}));
}

TestTerminal::Outcome TestTerminal::run(const QStringList &arguments, const QByteArray &input, bool noDisplay,
                                        const QString &program)
{
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (noDisplay) {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
    }
    process.setProcessEnvironment(environment);
    QStringList expanded;
    for (const QString &argument : arguments)
        expanded.append(inDir(argument));
    process.start(program, expanded);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        process.kill();
    return {QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

void TestTerminal::sessions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("noDisplay");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");

    const QStringList english{"--tty", "--language", "$DIR/Language.txt"};
    const QString start = Banner + "Default Language:\n[1] English\n\n>" + Cell;
    QTest::newRow("a game played to its end")
        << english + QStringList{"$DIR/a.qw"} << QByteArray("take rope\ntake hook\nuse rope hook\ns\nn\nq\ny\n")
        << false
        << start
            + "take rope\nYou take the rope.\nCell.\nThere is an exit south. There is an exit east. You see hook. \n>"
              "take hook\nYou take the hook.\nCell.\nThere is an exit south. There is an exit east. \n>"
              "use rope hook\nYou combine the rope with the hook and make grapple.\n"
              "Cell.\nThere is an exit south. There is an exit east. \n>"
              "s\nTop of the wall.\nYou have won!\nEnd the game? (y/n) n\nThere is an exit north. \n>"
              "q\nDo you really want to quit? (y/n) y\n"
        << "" << 0;
    const QString won = start
        + "take rope\nYou take the rope.\nCell.\nThere is an exit south. There is an exit east. You see hook. \n>"
          "take hook\nYou take the hook.\nCell.\nThere is an exit south. There is an exit east. \n>"
          "use rope hook\nYou combine the rope with the hook and make grapple.\n"
          "Cell.\nThere is an exit south. There is an exit east. \n>"
          "s\nTop of the wall.\nYou have won!\nEnd the game? (y/n) ";
    QTest::newRow("a walkthrough, then standard input")
        << english + QStringList{"--walkthrough", "$DIR/first.txt", "$DIR/a.qw"} << QByteArray("use rope hook\ns\ny\n")
        << false << won + "y\n" << "" << 0;
    QTest::newRow("a walkthrough played to its end, where input answers")
        << english + QStringList{"--walkthrough=$DIR/win.txt", "--", "$DIR/a.qw"} << QByteArray("y\n") << false
        << won + "y\n" << "" << 0;
    QTest::newRow("a walkthrough played to its end, and no input") << english + QStringList{"--walkthrough",
                                                                                           "$DIR/win.txt", "$DIR/a.qw"}
                                                                 << QByteArray() << false << won << "" << 0;
    QTest::newRow("an empty walkthrough") << english + QStringList{"--walkthrough", "$DIR/empty.txt", "$DIR/a.qw"}
                                          << QByteArray() << false << start << "" << 0;
    QTest::newRow("a walkthrough that cannot be read")
        << english + QStringList{"--walkthrough", "$DIR/missing.txt", "$DIR/a.qw"} << QByteArray() << false << ""
        << "Cannot open the walkthrough file \"$DIR/missing.txt\": No such file or directory.\n" << 1;
    QTest::newRow("end of input at a question ends the game")
        << english + QStringList{"$DIR/a.qw"} << QByteArray("take rope\ntake hook\nuse rope hook\ns") << false
        << start
            + "take rope\nYou take the rope.\nCell.\nThere is an exit south. There is an exit east. You see hook. \n>"
              "take hook\nYou take the hook.\nCell.\nThere is an exit south. There is an exit east. \n>"
              "use rope hook\nYou combine the rope with the hook and make grapple.\n"
              "Cell.\nThere is an exit south. There is an exit east. \n>"
              "s\nTop of the wall.\nYou have won!\nEnd the game? (y/n) "
        << "" << 0;
    QTest::newRow("the language menu, CR LF lines, end of input")
        << QStringList{"--tty", "--language", "$DIR/two.txt", "$DIR/a.qw"} << QByteArray("x\r\n2\r\n") << false
        << Banner
            + "Select Language:\n[1] English\n[2] Deutsch\n\n>x\n\n[1] English\n[2] Deutsch\n\n>2\n"
              "Cell.\nAusgang south. Ausgang east. You see rope. You see hook. \n>"
        << "" << 0;
    QTest::newRow("the terminal without a display, without asking")
        << QStringList{"--language", "$DIR/Language.txt", "$DIR/a.qw"} << QByteArray() << true << start << "" << 0;
    // Under ctest the offscreen platform is set: it shows nothing a person could use.
    QTest::newRow("the terminal on the offscreen platform")
        << QStringList{"--language", "$DIR/Language.txt", "$DIR/a.qw"} << QByteArray() << false << start << "" << 0;
    QTest::newRow("quotes removed, arguments joined by spaces")
        << english + QStringList{"\"$DIR/my", "level.qw\""} << QByteArray("q\ny\n") << false
        << start + "q\nDo you really want to quit? (y/n) y\n"
        << "" << 0;
    QTest::newRow("-- ends the options") << english + QStringList{"--", "-x.qw"} << QByteArray() << false << start
                                         << "" << 0;
    // Each fault once on standard error, without the command line just typed.
    QTest::newRow("a stopping error: standard error, status 1")
        << english + QStringList{"$DIR/nostart.qw"} << QByteArray() << false
        << Banner + "Default Language:\n[1] English\n\n>"
        << "The level \"$DIR/nostart.qw\" has no start location.\n" << 1;
    QTest::newRow("a level that is not there stops at once")
        << english + QStringList{"$DIR/none.qw"} << QByteArray() << false << ""
        << "Cannot open the level file \"$DIR/none.qw\": No such file or directory.\n" << 1;
    QTest::newRow("a folder for a level stops at once")
        << english + QStringList{"$DIR"} << QByteArray() << false << ""
        << "Cannot open the level file \"$DIR\": file to open is a directory.\n" << 1;
    QTest::newRow("a file that is not a level stops at once")
        << english + QStringList{"$DIR/first.txt"} << QByteArray() << false << ""
        << "\"$DIR/first.txt\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no "
           "\"[ITEMS]\" or \"[COMBOS]\" section.\n"
        << 1;
    QTest::newRow("a level for the language file: no game")
        << QStringList{"--tty", "--language", "$DIR/a.qw", "$DIR/a.qw"} << QByteArray() << false
        << Banner + "Select Language:"
        << "\"$DIR/a.qw\" is not a language file (no language block): it is a Quillmoor level (\"[MAP]\" on line 1).\n"
        << 1;
    QTest::newRow("a level cut off at its end is said once, and played")
        << english + QStringList{"$DIR/cut.qw"} << QByteArray() << false
        << Banner + "Default Language:\n[1] English\n\n>Cut.\n\n>"
        << "Level file \"$DIR/cut.qw\", line 1: the block of location 1A runs into the end of the file without the "
           "empty line that ends it.\n"
        << 0;
}

void TestTerminal::sessions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(bool, noDisplay);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, status);
    const Outcome outcome = run(arguments, input, noDisplay);
    QCOMPARE(outcome.out, inDir(out));
    QCOMPARE(outcome.err, inDir(err));
    QCOMPARE(outcome.status, status);
}

void TestTerminal::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("outStart");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");

    QTest::newRow("version") << QStringList{"--version"} << "quillmoorplayer 1.0.1\n" << "" << 0;
    QTest::newRow("help") << QStringList{"--help"} << "Usage: quillmoorplayer [OPTIONS] [--] [LEVEL]\n" << "" << 0;
    QTest::newRow("unknown option")
        << QStringList{"--tty", "--bogus", "a.qw"} << ""
        << "quillmoorplayer: unknown option \"--bogus\". Try \"quillmoorplayer --help\".\n" << 1;
    QTest::newRow("language without its file")
        << QStringList{"--language"} << ""
        << "quillmoorplayer: --language needs the name of a language file. Try \"quillmoorplayer --help\".\n" << 1;
    QTest::newRow("walkthrough without its file")
        << QStringList{"--tty", "--walkthrough"} << ""
        << "quillmoorplayer: --walkthrough needs the name of a file of commands. Try \"quillmoorplayer --help\".\n"
        << 1;
}

void TestTerminal::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, outStart);
    QFETCH(QString, err);
    QFETCH(int, status);
    const Outcome outcome = run(arguments, QByteArray());
    QCOMPARE(outcome.out.left(outStart.size()), outStart);
    QCOMPARE(outcome.err, err);
    QCOMPARE(outcome.status, status);
}

void TestTerminal::dataFolder_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("dataFolder");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("beside the program, no arguments") << "bin" << "bin" << QStringList{"--tty"};
    QTest::newRow("beside the program, a blank command line") << "bin" << "bin" << QStringList{"--tty", "  ", " "};
    QTest::newRow("installed: ../share/quillmoor") << "usr/bin" << "usr/share/quillmoor" << QStringList{"--tty"};
}

void TestTerminal::dataFolder()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, dataFolder);
    QFETCH(QStringList, arguments);
    QTemporaryDir install;
    QVERIFY(QDir(install.path()).mkpath(programFolder) && QDir(install.path()).mkpath(dataFolder));
    const QString program = install.filePath(programFolder + "/quillmoorplayer");
    QVERIFY(QFile::copy(QUILLMOOR_BIN_DIR "/quillmoorplayer", program));
    GameFiles::write(install.filePath(dataFolder), "QUILLMOOR.qw", GameFiles::adventure());
    GameFiles::write(install.filePath(dataFolder), "Language.txt",
                     GameFiles::language({{"Bundled", GameFiles::english()}}));
    const Outcome outcome = run(arguments, QByteArray(), false, program);
    QCOMPARE(outcome.out, Banner + "Default Language:\n[1] Bundled\n\n>" + Cell);
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.status, 0);
}

void TestTerminal::savedGames_data()
{
    // A game played with --save, then with --restore (unless none is given).
    QTest::addColumn<QStringList>("saving");
    QTest::addColumn<QByteArray>("played");
    QTest::addColumn<QByteArray>("levelThen"); // what a.qw holds before the restore; null: as it was
    QTest::addColumn<QStringList>("restoring");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("out"); // of the last run
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");

    const QStringList english{"--tty", "--language", "$DIR/Language.txt"};
    const QStringList save = english + QStringList{"--save", "$DIR/g.qwsave", "$DIR/a.qw"};
    const QStringList restore = english + QStringList{"--restore=$DIR/g.qwsave"};
    const QString yard = "Yard.\nWind.\nThere is an exit north. There is an exit south. There is an exit east. There "
                         "is an exit west. You see brass key. You see lamp. You see lamp. You see oil. You see pebble. \n>";
    QTest::newRow("saved at the end of the input, and played on")
        << save << QByteArray("take rope\ne\n") << QByteArray() << restore << QByteArray("w\ntake hook\ni\n")
        << yard
            + "w\nCell.\nThere is an exit south. There is an exit east. You see hook. \n>"
              "take hook\nYou take the hook.\nCell.\nThere is an exit south. There is an exit east. \n>"
              "i\nYou carry:\nrope\nhook\n\nCell.\nThere is an exit south. There is an exit east. \n>"
        << "" << 0;
    QTest::newRow("saved when the player quits, restored and saved again")
        << save << QByteArray("take rope\nq\ny\n") << QByteArray()
        << restore + QStringList{"--save", "$DIR/g.qwsave"} << QByteArray("take hook\n")
        << "Cell.\nThere is an exit south. There is an exit east. You see hook. \n>"
           "take hook\nYou take the hook.\nCell.\nThere is an exit south. There is an exit east. \n>"
        << "" << 0;
    QTest::newRow("at the end of the game, no question until a command")
        << save << QByteArray("take rope\ntake hook\nuse rope hook\ns\n") << QByteArray() << restore
        << QByteArray("i\ny\n")
        << "Top of the wall.\nThere is an exit north. \n>i\nYou carry:\ngrapple\n\nTop of the wall.\nYou have won!\n"
           "End the game? (y/n) y\n"
        << "" << 0;
    QTest::newRow("the level changed since")
        << save << QByteArray("e\n") << GameFiles::adventure() + "\r\n" << restore << QByteArray("w\n") << ""
        << "The level file \"$DIR/a.qw\" has changed since the game was saved in \"$DIR/g.qwsave\", so the game "
           "cannot go on.\n"
        << 1;
    QTest::newRow("another language file")
        << save << QByteArray("e\n") << QByteArray()
        << QStringList{"--tty", "--language", "$DIR/two.txt", "--restore", "$DIR/g.qwsave"} << QByteArray() << ""
        << "The language file \"$DIR/two.txt\" is not the one the game saved in \"$DIR/g.qwsave\" was played with "
           "(\"$DIR/Language.txt\"), so the game cannot go on.\n"
        << 1;
    QTest::newRow("a level is no saved game")
        << QStringList() << QByteArray() << QByteArray() << english + QStringList{"--restore", "$DIR/a.qw"}
        << QByteArray() << ""
        << "\"$DIR/a.qw\" is not a Quillmoor saved game: its first line is not \"Quillmoor saved game, version 1\".\n"
        << 1;
    QTest::newRow("no saved game there")
        << QStringList() << QByteArray() << QByteArray() << english + QStringList{"--restore", "$DIR/none.qwsave"}
        << QByteArray() << "" << "Cannot open the saved game \"$DIR/none.qwsave\": No such file or directory.\n" << 1;
    QTest::newRow("a saved game and a level")
        << QStringList() << QByteArray() << QByteArray() << restore + QStringList{"$DIR/a.qw"} << QByteArray() << ""
        << "quillmoorplayer: --restore goes on in the level its saved game names; name no LEVEL with it. Try "
           "\"quillmoorplayer --help\".\n"
        << 1;
    QTest::newRow("a save that cannot be written stops before the game")
        << QStringList() << QByteArray() << QByteArray()
        << english + QStringList{"--save", "$DIR/none/g.qwsave", "$DIR/a.qw"} << QByteArray("e\n") << ""
        << "Cannot save the game to \"$DIR/none/g.qwsave\": No such file or directory.\n" << 1;
    QTest::newRow("nothing to save before a language is chosen")
        << QStringList() << QByteArray() << QByteArray()
        << QStringList{"--tty", "--language", "$DIR/two.txt", "--save", "$DIR/n.qwsave", "$DIR/a.qw"} << QByteArray()
        << Banner + "Select Language:\n[1] English\n[2] Deutsch\n\n>"
        << "The game was not saved to \"$DIR/n.qwsave\": no language was chosen, so it had not begun.\n" << 1;
}

void TestTerminal::savedGames()
{
    QFETCH(QStringList, saving);
    QFETCH(QByteArray, played);
    QFETCH(QByteArray, levelThen);
    QFETCH(QStringList, restoring);
    QFETCH(QByteArray, input);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, status);
    if (!saving.isEmpty()) {
        const Outcome saved = run(saving, played);
        QCOMPARE(saved.err, QString());
        QCOMPARE(saved.status, 0);
    }
    if (!levelThen.isNull())
        GameFiles::write(dir.path(), "a.qw", levelThen);
    const Outcome outcome = run(restoring, input);
    GameFiles::write(dir.path(), "a.qw", GameFiles::adventure());
    QCOMPARE(outcome.out, inDir(out));
    QCOMPARE(outcome.err, inDir(err));
    QCOMPARE(outcome.status, status);
}

QTEST_GUILESS_MAIN(TestTerminal)
#include "tst_terminal.moc"
