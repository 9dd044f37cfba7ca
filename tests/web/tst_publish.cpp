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

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run publish(const QStringList &arguments, const QString &folder);
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

TestPublish::Run TestPublish::publish(const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(tool, arguments);
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
        << "../levels/a.qw" << QStringList{"../levels/a.qw", "../levels/b.qw"} << "/game/elsewhere"
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
        << QStringList{"a.qw", "$DIR/far/b.qw"} << "$DIR" << QStringList{"$DIR/a.qw", "$DIR/far/b.qw"};
    QTest::newRow("LOADLEVEL without COMMENT= leads nowhere")
        << Files{{"a.qw", crlf({"[LOCATION 1A]", "Here.", "START", "LOADLEVEL gone.qw", ""})}} << "." << "a.qw"
        << QStringList{"a.qw"} << "/game" << QStringList{"/game/a.qw"};
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

    if (paths.first().startsWith(root))
        return;
    // The page's file system laid out in a folder of its own: from its
    // current folder, the player's lookup finds the same levels there.
    const QString page = dir.filePath(QString("page%1").arg(folders));
    for (const QJsonValue &made : data.value("folders").toArray())
        QVERIFY(QDir().mkpath(page + made.toString()));
    for (const QJsonValue &file : placed)
        QVERIFY(write(page + file.toObject().value("path").toString(),
                      QByteArray::fromBase64(file.toObject().value("bytes").toString().toLatin1())));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(page + folder));
    const LevelChain::Result replayed = LevelChain::follow(level.toStdString());
    QDir::setCurrent(previous);
    QCOMPARE(QString::fromStdString(replayed.error), QString());
    QStringList found;
    for (const LevelChain::File &file : replayed.files)
        found << QString::fromStdString(file.path);
    QCOMPARE(found, levels);
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
        << Files{{"a.qw", QByteArray(gate).replace("gone.qw", "b.qw")}, {"b.qw", crlf({"[LOCATION 1A]", "Here."})}}
        << QStringList{"a.qw"}
        << "Level file \"b.qw\", line 1: the block of location 1A runs into the end of the file without the empty "
           "line that ends it.";
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

QTEST_GUILESS_MAIN(TestPublish)
#include "tst_publish.moc"
