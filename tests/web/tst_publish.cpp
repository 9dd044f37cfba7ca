// SPDX-License-Identifier: MIT
#include "buildinfo.h"
#include "levelchain.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Files = QMap<QString, QByteArray>;

// The stand-in for the page runtime: the game's data between two known pieces.
const QByteArray RuntimeHead = "<!DOCTYPE html><script type=\"application/json\">";
const QByteArray RuntimeTail = "</script>";

QByteArray crlf(const QStringList &lines)
{
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

QByteArray language()
{
    QStringList lines{"[English]"};
    for (int message = 1; message <= 27; ++message)
        lines << QString("Message %1|field").arg(message);
    return crlf(lines);
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below folder, relative to it.
QStringList listing(const QString &folder)
{
    QStringList names;
    QDir dir(folder);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        if (info.isDir()) {
            for (const QString &inner : listing(info.filePath()))
                names << info.fileName() + '/' + inner;
        } else {
            names << info.fileName();
        }
    }
    return names;
}

} // namespace

// The publishing tool run as an author runs it, from a folder of its own
// beside a stand-in page runtime and a language file, so that the tests see
// exactly the game it writes into a page.
class TestPublish : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void options_data();
    void options();
    void chain_data();
    void chain();
    void faults_data();
    void faults();
    void defaults();
    void privatePaths_data();
    void privatePaths();
    void sameReading_data();
    void sameReading();

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run publish(const QStringList &arguments, const QString &folder) { return run(tool, arguments, folder); }
    static Run run(const QString &program, const QStringList &arguments, const QString &folder);
    // The levels a page's engine loads, in the order the player would: the
    // page's files laid out in a folder of their own, and the chain followed
    // from its folder by its command line.
    QList<QByteArray> playedChain(const QJsonObject &game);
    // A fresh folder holding files, with "$DIR" in them standing for it.
    QString lay(const Files &files);
    // The game data of a page the stand-in runtime was filled with.
    static QJsonObject game(const QString &page);

    QTemporaryDir dir;
    QString tool;
    int folders = 0;
};

void TestPublish::initTestCase()
{
    QVERIFY(dir.isValid());
    tool = dir.filePath("bin/quillmoorpublish");
    QVERIFY(QDir().mkpath(dir.filePath("bin/web")));
    QVERIFY(QFile::copy(QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorpublish"), tool));
    QVERIFY(write(dir.filePath("bin/web/quillmoorpage.html"), RuntimeHead + "@QUILLMOOR_GAME@" + RuntimeTail));
    QVERIFY(write(dir.filePath("bin/Language.txt"), language()));
}

TestPublish::Run TestPublish::run(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString TestPublish::lay(const Files &files)
{
    const QString folder = dir.filePath(QString("case%1").arg(++folders));
    QDir().mkpath(folder);
    for (auto file = files.begin(); file != files.end(); ++file) {
        if (file.key().endsWith('/'))
            QDir().mkpath(folder + '/' + file.key());
        else
            write(folder + '/' + file.key(), QByteArray(file.value()).replace("$DIR", folder.toUtf8()));
    }
    return folder;
}

QJsonObject TestPublish::game(const QString &page)
{
    QByteArray bytes = read(page);
    if (!bytes.startsWith(RuntimeHead) || !bytes.endsWith(RuntimeTail))
        return {};
    bytes = bytes.mid(RuntimeHead.size(), bytes.size() - RuntimeHead.size() - RuntimeTail.size());
    // Nothing in the data may end the script element that holds it.
    if (bytes.contains('<') || bytes.contains('>'))
        return {};
    return QJsonDocument::fromJson(bytes).object();
}

void TestPublish::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // the start of standard output
    QTest::addColumn<QString>("err");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: quillmoorpublish [OPTIONS] [--] LEVEL\n" << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "quillmoorpublish " QUILLMOOR_VERSION "\n" << "";
    const QString tryHelp = " Try \"quillmoorpublish --help\".\n";
    QTest::newRow("no level") << QStringList{} << 1 << ""
                              << "quillmoorpublish: no level file named." + tryHelp;
    QTest::newRow("two levels") << QStringList{"a.qw", "b.qw"} << 1 << ""
                                << "quillmoorpublish: name one level file only." + tryHelp;
    QTest::newRow("unknown option") << QStringList{"--colour", "a.qw"} << 1 << ""
                                    << "quillmoorpublish: unknown option \"--colour\"." + tryHelp;
    QTest::newRow("-o without a file") << QStringList{"a.qw", "-o"} << 1 << ""
                                       << "quillmoorpublish: -o needs a file name." + tryHelp;
    QTest::newRow("an empty page name") << QStringList{"--output=", "a.qw"} << 1 << ""
                                        << "quillmoorpublish: --output needs a file name." + tryHelp;
    QTest::newRow("a blank level") << QStringList{"  "} << 1 << "" << "quillmoorpublish: No level file named.\n";
}

void TestPublish::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const QString folder = lay({});
    const Run run = publish(arguments, folder);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.startsWith(out), qPrintable(run.out));
    QCOMPARE(run.err, err);
    QCOMPARE(listing(folder), QStringList{});
}

void TestPublish::chain_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("from"); // the folder the tool runs in, in the case's folder
    QTest::addColumn<QString>("level");
    QTest::addColumn<QStringList>("levels"); // as the player names them, in the page's order
    QTest::addColumn<QString>("folder"); // the page's current folder
    QTest::addColumn<QStringList>("paths"); // where the page keeps the levels

    const QByteArray plain = crlf({"[LOCATION 1A]", "Here.", "START", ""});
    auto loading = [](const QString &named) {
        return crlf({"[LOCATION 1A]", "Here.", "PATH E", "START", "", "[LOCATION 1B]", "Gate.",
                     "LOADLEVEL " + named + " COMMENT=Onwards.", ""});
    };
    QTest::newRow("one level") << Files{{"a.qw", plain}} << "." << "a.qw" << QStringList{"a.qw"} << "/game"
                               << QStringList{"/game/a.qw"};
    QTest::newRow("beside the level naming it, played from elsewhere")
        << Files{{"levels/a.qw", loading("b.qw")}, {"levels/b.qw", plain}, {"elsewhere/", {}}} << "elsewhere"
        << "../levels/a.qw" << QStringList{"../levels/a.qw", "../levels/b.qw"} << "/game/folder1"
        << QStringList{"/game/levels/a.qw", "/game/levels/b.qw"};
    QTest::newRow("from the current folder before beside")
        << Files{{"levels/a.qw", loading("b.qw")}, {"levels/b.qw", plain}, {"b.qw", plain + "\r\n"}} << "."
        << "levels/a.qw" << QStringList{"levels/a.qw", "b.qw"} << "/game"
        << QStringList{"/game/levels/a.qw", "/game/b.qw"};
    QTest::newRow("a chain that comes back ends there")
        << Files{{"a.qw", loading("b.qw")}, {"b.qw", loading("./a.qw")}} << "." << "a.qw"
        << QStringList{"a.qw", "b.qw"} << "/game" << QStringList{"/game/a.qw", "/game/b.qw"};
    QTest::newRow("into a folder and back out beside it")
        << Files{{"a.qw", loading("sub/c.qw")}, {"sub/c.qw", loading("../d.qw")}, {"d.qw", plain}} << "." << "a.qw"
        << QStringList{"a.qw", "sub/c.qw", "sub/../d.qw"} << "/game"
        << QStringList{"/game/a.qw", "/game/sub/c.qw", "/game/d.qw"};
    QTest::newRow("through a folder that holds no level")
        << Files{{"a.qw", loading("empty/../b.qw")}, {"b.qw", plain}, {"empty/", {}}} << "." << "a.qw"
        << QStringList{"a.qw", "empty/../b.qw"} << "/game" << QStringList{"/game/a.qw", "/game/b.qw"};
    QTest::newRow("a level named with an absolute path keeps its place")
        << Files{{"a.qw", loading("$DIR/far/b.qw")}, {"far/b.qw", plain}} << "." << "a.qw"
        << QStringList{"a.qw", "$DIR/far/b.qw"} << "/game" << QStringList{"/game/a.qw", "$DIR/far/b.qw"};
    QTest::newRow("LOADLEVEL without COMMENT= leads nowhere")
        << Files{{"a.qw", crlf({"[LOCATION 1A]", "Here.", "PATH E", "START", "", "[LOCATION 1B]", "Gate.",
                                "LOADLEVEL gone.qw", ""})}}
        << "." << "a.qw" << QStringList{"a.qw"} << "/game" << QStringList{"/game/a.qw"};
    QTest::newRow("a name the page must escape")
        << Files{{"a.qw", loading("<b> & \"c\".qw")}, {"<b> & \"c\".qw", plain}} << "." << "a.qw"
        << QStringList{"a.qw", "<b> & \"c\".qw"} << "/game" << QStringList{"/game/a.qw", "/game/<b> & \"c\".qw"};
}

void TestPublish::chain()
{
    QFETCH(Files, files);
    QFETCH(QString, from);
    QFETCH(QString, level);
    QFETCH(QStringList, levels);
    QFETCH(QString, folder);
    QFETCH(QStringList, paths);
    const QString root = lay(files);
    const QString here = QDir(root).filePath(from);
    levels.replaceInStrings("$DIR", root);
    paths.replaceInStrings("$DIR", root);
    folder.replace("$DIR", root);

    const Run run = publish({"-o", root + "/page.html", level}, here);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, "Wrote " + root + "/page.html: " + levels.join(", ") + " with " + dir.filePath("bin/Language.txt")
                          + ".\n");
    const QJsonObject data = game(root + "/page.html");
    QCOMPARE(data.value("level").toString(), level);
    QCOMPARE(data.value("folder").toString(), folder);
    QCOMPARE(data.value("language").toString(), "/quillmoor/Language.txt");
    const QJsonArray placed = data.value("files").toArray();
    QCOMPARE(placed.size(), paths.size() + 1);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QJsonObject file = placed.at(i).toObject();
        QCOMPARE(file.value("path").toString(), paths.at(i));
        QCOMPARE(QByteArray::fromBase64(file.value("bytes").toString().toLatin1()),
                 read(QDir(here).filePath(levels.at(i))));
    }
    QCOMPARE(placed.last().toObject().value("path").toString(), "/quillmoor/Language.txt");
    QCOMPARE(QByteArray::fromBase64(placed.last().toObject().value("bytes").toString().toLatin1()), language());

    // From the page's folder, the player's lookup finds the same levels.
    QList<QByteArray> expected;
    for (const QString &name : levels)
        expected << read(QDir(here).filePath(name));
    QCOMPARE(playedChain(data), expected);
}

QList<QByteArray> TestPublish::playedChain(const QJsonObject &game)
{
    const QString page = dir.filePath(QString("page%1").arg(++folders));
    for (const QJsonValue &made : game.value("folders").toArray())
        QDir().mkpath(page + made.toString());
    for (const QJsonValue &file : game.value("files").toArray()) {
        write(page + file.toObject().value("path").toString(),
              QByteArray::fromBase64(file.toObject().value("bytes").toString().toLatin1()));
    }
    const QString previous = QDir::currentPath();
    if (!QDir::setCurrent(page + game.value("folder").toString()))
        return {};
    const LevelChain::Result replayed = LevelChain::follow(game.value("level").toString().toStdString());
    QDir::setCurrent(previous);
    QList<QByteArray> found;
    for (const LevelChain::File &file : replayed.files)
        found << QByteArray::fromStdString(file.bytes);
    if (!replayed.ok())
        found << QByteArray::fromStdString(replayed.error);
    return found;
}

void TestPublish::faults_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    const QByteArray plain = crlf({"[LOCATION 1A]", "Here.", "START", ""});
    const QByteArray gate = crlf({"[ITEMS]", "A key", "", "[LOCATION 1A]", "Here.", "PATH E", "START", "",
                                  "[LOCATION 1B]", "Gate.", "LOADLEVEL gone.qw COMMENT=Onwards.", ""});
    QTest::newRow("no such level")
        << Files{} << QStringList{"missing.qw"}
        << "Cannot open the level file \"missing.qw\": No such file or directory.";
    QTest::newRow("a LOADLEVEL whose level is nowhere")
        << Files{{"a.qw", gate}} << QStringList{"a.qw"}
        << "Level file \"a.qw\", line 11: the level \"gone.qw\" after LOADLEVEL cannot be found, neither from the "
           "current folder nor beside \"a.qw\".";
    QTest::newRow("the LOADLEVEL in a location's second block, after a line break")
        << Files{{"a.qw", crlf({"[LOCATION 1A]", "Here.~And there.", "START", "", "[LOCATION 2A]", "Other.", "",
                                "[LOCATION 1A]", "PATH|E", "", "[LOCATION 1A]", "PATH S",
                                "LOADLEVEL gone.qw COMMENT=On.", ""})}}
        << QStringList{"a.qw"}
        << "Level file \"a.qw\", line 13: the level \"gone.qw\" after LOADLEVEL cannot be found, neither from the "
           "current folder nor beside \"a.qw\".";
    QTest::newRow("a LOADLEVEL that names a folder")
        << Files{{"a.qw", gate}, {"gone.qw/", {}}} << QStringList{"a.qw"}
        << "Level file \"a.qw\", line 11: the level \"gone.qw\" after LOADLEVEL cannot be found, neither from the "
           "current folder nor beside \"a.qw\".";
    QTest::newRow("a chained level that breaks the format")
        << Files{{"a.qw", QByteArray(gate).replace("gone.qw", "b.qw")},
                 {"b.qw", plain + crlf({"[LOCATION 0Z]", "Lost.", ""})}}
        << QStringList{"a.qw"}
        << "Level file \"b.qw\", line 5: the location header \"[LOCATION 0Z]\" does not name a row 1 to 9 and a "
           "column A to I at the start of the line, as in \"[LOCATION 3C]\".";
    const QString noLevel = "\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no "
                            "\"[ITEMS]\" or \"[COMBOS]\" section.";
    QTest::newRow("a chained level that is no level")
        << Files{{"a.qw", QByteArray(gate).replace("gone.qw", "b.qw")}, {"b.qw", "Notes.\r\n"}}
        << QStringList{"a.qw"} << "\"b.qw" + noLevel;
    // What the player could not play past its start: the page would only say it stopped.
    QTest::newRow("no start location")
        << Files{{"a.qw", crlf({"[LOCATION 1A]", "Here.", ""})}} << QStringList{"a.qw"}
        << "The level \"a.qw\" has no start location.";
    QTest::newRow("LOADLEVEL without COMMENT= where the game starts")
        << Files{{"a.qw", crlf({"[LOCATION 1A]", "Here.", "START", "LOADLEVEL gone.qw", ""})}} << QStringList{"a.qw"}
        << "The level \"a.qw\", location 1A: the LOADLEVEL line has no \"COMMENT=\" after the level file name, so no "
           "level can be loaded.";
    QTest::newRow("an empty file") << Files{{"a.qw", ""}} << QStringList{"a.qw"} << "\"a.qw" + noLevel;
    QTest::newRow("a binary file") << Files{{"a.qw", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)}}
                                   << QStringList{"a.qw"} << "\"a.qw" + noLevel;
    QStringList second{"[Second]"};
    for (int message = 1; message <= 27; ++message)
        second << (message == 15 ? QStringList(31, "N").join('|') : QString("Message %1|field").arg(message));
    QTest::newRow("a word list the second language cannot split")
        << Files{{"a.qw", plain}, {"two.txt", language() + crlf(second)}} << QStringList{"--language=two.txt", "a.qw"}
        << "Language file \"two.txt\", line 44: message 15 of \"Second\" has more than 30 fields.";
    QTest::newRow("a level for the language file")
        << Files{{"a.qw", plain}} << QStringList{"--language", "a.qw", "a.qw"}
        << "\"a.qw\" is not a language file (no language block): it is a Quillmoor level (\"[LOCATION 1A]\" on "
           "line 1).";
    QTest::newRow("no such language file")
        << Files{{"a.qw", plain}} << QStringList{"--language", "nope.txt", "a.qw"}
        << "Cannot open the language file \"nope.txt\": No such file or directory.";
    QTest::newRow("a language cut short")
        << Files{{"a.qw", plain}, {"short.txt", crlf({"[English]", "One", "Two"})}}
        << QStringList{"--language=short.txt", "a.qw"}
        << "Language file \"short.txt\", line 3: the language \"English\" ends after 2 of its 27 messages.";
    QTest::newRow("the page in place of the level")
        << Files{{"a.qw", plain}} << QStringList{"-o", "./a.qw", "a.qw"}
        << "The page \"./a.qw\" would overwrite \"a.qw\", which goes into it.";
    QTest::newRow("the page in place of a folder")
        << Files{{"a.qw", plain}, {"out/", {}}} << QStringList{"-o", "out", "a.qw"}
        << "Cannot write the page \"out\": Is a directory.";
    QTest::newRow("the page in a folder that is not there")
        << Files{{"a.qw", plain}} << QStringList{"--output", "nowhere/a.html", "a.qw"}
        << "Cannot write the page \"nowhere/a.html\": No such file or directory.";
}

void TestPublish::faults()
{
    QFETCH(Files, files);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    // A page written before stays as it was.
    files.insert("a.html", "the page of yesterday");
    const QString folder = lay(files);
    const QStringList before = listing(folder);
    const Run run = publish(arguments, folder);
    QCOMPARE(run.err, "quillmoorpublish: " + error + '\n');
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QCOMPARE(listing(folder), before);
    QCOMPARE(read(folder + "/a.html"), QByteArray("the page of yesterday"));
}

void TestPublish::defaults()
{
    // The page takes the level's name and lies beside it; it replaces an
    // older page whole; and it needs the page runtime beside the tool.
    const QString folder = lay({{"levels/a.qw", crlf({"[LOCATION 1A]", "Here.", "START", ""})},
                                {"levels/a.html", "old"}});
    const Run run = publish({"levels/a.qw"}, folder);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(listing(folder), (QStringList{"levels/a.html", "levels/a.qw"}));
    QCOMPARE(game(folder + "/levels/a.html").value("level").toString(), "levels/a.qw");
    QCOMPARE(QFileInfo(folder + "/levels/a.html").permissions() & QFile::ReadOther, QFile::ReadOther);

    QVERIFY(QFile::rename(dir.filePath("bin/web/quillmoorpage.html"), dir.filePath("bin/web/moved.html")));
    const Run without = publish({"-o", "b.html", "levels/a.qw"}, folder);
    QVERIFY(QFile::rename(dir.filePath("bin/web/moved.html"), dir.filePath("bin/web/quillmoorpage.html")));
    QCOMPARE(without.exitCode, 1);
    QVERIFY2(without.err.startsWith("quillmoorpublish: Cannot open the page runtime \"" + dir.filePath("bin/")),
             qPrintable(without.err));
    QVERIFY(!QFile::exists(folder + "/b.html"));
}

void TestPublish::privatePaths_data()
{
    QTest::addColumn<QString>("from"); // the folder the tool runs in, in the author's folder
    QTest::addColumn<QString>("level"); // $DIR: the author's folder

    QTest::newRow("by a relative path") << "." << "game/one.qw";
    QTest::newRow("by an absolute path") << "." << "$DIR/game/one.qw";
    QTest::newRow("beside the level") << "game" << "one.qw";
    QTest::newRow("from another folder, by a relative path") << "Quokka" << "../game/one.qw";
    QTest::newRow("from another folder, by an absolute path") << "Quokka" << "$DIR/game/one.qw";
}

// A page holds the levels by the names that find them, and not one byte of
// the folders they were published from; the engine finds the same levels.
void TestPublish::privatePaths()
{
    QFETCH(QString, from);
    QFETCH(QString, level);
    QTemporaryDir author(QDir::tempPath() + "/qm-Zebra-XXXXXX");
    QVERIFY(author.isValid());
    const QString root = QDir(author.path()).canonicalPath();
    level.replace("$DIR", root);
    auto gate = [](const QString &named) {
        return crlf({"[LOCATION 1A]", "Here.", "PATH E", "START", "", "[LOCATION 1B]", "Gate.",
                     "LOADLEVEL " + named + " COMMENT=Onwards.", ""});
    };
    // Into a folder, then beside the level naming it.
    const QList<QByteArray> chain{gate("sub/two.qw"), gate("three.qw"), crlf({"[LOCATION 1A]", "Three.", "START", ""})};
    QVERIFY(write(root + "/game/one.qw", chain[0]));
    QVERIFY(write(root + "/game/sub/two.qw", chain[1]));
    QVERIFY(write(root + "/game/sub/three.qw", chain[2]));
    QVERIFY(QDir().mkpath(root + "/Quokka"));

    const Run run = publish({"-o", root + "/page.html", level}, root + '/' + from);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QByteArray page = read(root + "/page.html");
    for (const QString &mine : {root, author.path(), QString("Zebra"), QString("Quokka")})
        QVERIFY2(!page.contains(mine.toUtf8()), qPrintable(mine + " in " + page));
    QCOMPARE(playedChain(game(root + "/page.html")), chain);
}

void TestPublish::sameReading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("asLanguage"); // the file is the language file, the level a good one
    QTest::addColumn<int>("status"); // of each tool
    QTest::addColumn<QString>("said"); // by each tool

    const QStringList won{"[LOCATION 1A]", "Start.", "PATH E", "START", "", "[LOCATION 1B]", "End.", "PATH W",
                          "ENDGAME", ""};
    QTest::newRow("a rule row for the last line")
        << crlf(won + QStringList{"[ITEMS]", "A key", "B box", "C key-in-box", "", "[COMBOS]", "A+B=C"}) << false
        << 0 << "line 16: the [COMBOS] section runs into the end of the file";
    QTest::newRow("no start location") << crlf(QStringList(won).replaceInStrings("START", "Not here.")) << false << 1
                                       << "has no start location";
    QTest::newRow("an empty file") << QByteArray() << false << 1 << "\"x.qw\" is not a Quillmoor level: it holds";
    QTest::newRow("a binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[", 17) << false << 1
                                   << "\"x.qw\" is not a Quillmoor level: it holds";
    QTest::newRow("lines a level reader skips") << crlf(QStringList(1000, "Dear diary.")) << false << 1
                                                << "\"x.qw\" is not a Quillmoor level: it holds";
    QTest::newRow("a level for the language file")
        << crlf(won) << true << 1 << "\"x.qw\" is not a language file (no language block): it is a Quillmoor level";
    QTest::newRow("a binary language file")
        << QByteArray("[\x7f" "ELF]\r\n\x03\0>\0", 12) << true << 1
        << "\"x.qw\" is not a language file (no language block): it is not text: line 2 holds the control character "
           "0x03.";
}

// What the player plays, the checker and the publisher take; what it cannot,
// all three refuse, saying the same.
void TestPublish::sameReading()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, asLanguage);
    QFETCH(int, status);
    QFETCH(QString, said);
    const QString english = QStringLiteral(QUILLMOOR_BIN_DIR "/Language.txt");
    const QString folder = lay({{"x.qw", file},
                                {"good.qw", crlf({"[LOCATION 1A]", "Start.", "PATH E", "START", "", "[LOCATION 1B]",
                                                  "End.", "PATH W", "ENDGAME", ""})}});
    const QString level = asLanguage ? "good.qw" : "x.qw";
    const QString language = asLanguage ? "x.qw" : english;
    const QList<std::pair<QString, QStringList>> tools{
        {QUILLMOOR_BIN_DIR "/quillmoorplayer", {"--tty", "--language", language, level}},
        // A language file alone is checked on its own.
        {QUILLMOOR_BIN_DIR "/quillmoorcheck",
         asLanguage ? QStringList{"--language", language} : QStringList{"--language", language, level}},
        {tool, {"--language", language, "-o", "page.html", level}},
    };
    for (const auto &[program, arguments] : tools) {
        const Run ran = run(program, arguments, folder);
        const QString name = QFileInfo(program).fileName();
        QVERIFY2(ran.exitCode == status, qPrintable(name + ": " + ran.out + ran.err));
        QVERIFY2((ran.out + ran.err).contains(said), qPrintable(name + ": " + ran.out + ran.err));
        // One message for the fault, not another after it.
        QVERIFY2(ran.err.count('\n') <= 1, qPrintable(name + ": " + ran.err));
    }
    QCOMPARE(QFile::exists(folder + "/page.html"), status == 0);
}

QTEST_GUILESS_MAIN(TestPublish)
#include "tst_publish.moc"
