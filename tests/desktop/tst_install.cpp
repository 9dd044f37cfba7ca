// SPDX-License-Identifier: MIT
#include "locationbutton.h"
#include "locationpicture.h"
#include "mapwindow.h"
#include "scriptedplatform.h"
#include "toolrun.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// "cmake --install" into a temporary prefix: every file where it belongs,
// and the installed programs finding their data there, from any folder.
class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layout_data();
    void layout();
    void nothingElsewhere();
    void icons();
    void pictures();
    void dataFolder_data();
    void dataFolder();
    void playerInTerminal();
    void publish();
    void check();
    void studioStarts();
    void noDisplay_data();
    void noDisplay();
    void studioPicturesAndTestLaunch();
    void studioOpensTheGuide();

private:
    QString installed(const QString &path) const { return prefix.filePath(path); }
    // Runs a program in an empty folder, so that nothing is found by accident
    // in the current one, and with no display.
    ToolRun runInstalled(const QString &program, const QStringList &arguments, const QByteArray &input = {});

    QTemporaryDir prefix;
    QTemporaryDir elsewhere;
    QString runtime = QStringLiteral(QUILLMOOR_BIN_DIR "/web/quillmoorpage.html");
    QString guide = QStringLiteral(QUILLMOOR_BIN_DIR "/guide/index.html");
};

void TestInstall::initTestCase()
{
    QVERIFY(prefix.isValid());
    const ToolRun install = ToolRun::of(QStringLiteral(QUILLMOOR_CMAKE),
                                        {"--install", QUILLMOOR_BUILD_DIR, "--prefix", prefix.path()});
    QVERIFY2(install.exitCode == 0, install.said());
}

ToolRun TestInstall::runInstalled(const QString &program, const QStringList &arguments, const QByteArray &input)
{
    return ToolRun::of(installed(program), arguments,
                       {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, input, elsewhere.path());
}

void TestInstall::layout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("program");

    for (const char *program : {"bin/quillmoorplayer", "bin/studio", "bin/quillmoorpublish",
                                "bin/quillmoorcheck", "libexec/quillmoor/quillmoorplayer-window"})
        QTest::newRow(program) << program << true;
    for (const char *file : {"share/quillmoor/Language.txt", "share/quillmoor/QUILLMOOR.qw",
                             "share/quillmoor/SCRIPTORIUM.qw", "share/quillmoor/languages/all.txt",
                             "share/quillmoor/languages/Deutsch.txt", "share/quillmoor/languages/Espanol.txt",
                             "share/quillmoor/languages/Francais.txt", "share/applications/quillmoorplayer.desktop",
                             "share/applications/quillmoorstudio.desktop", "share/mime/packages/quillmoor.xml",
                             "share/doc/quillmoor/copyright", "share/quillmoor/example/LIGHTHOUSE.qw",
                             "share/quillmoor/example/LAMPROOM.qw"})
        QTest::newRow(file) << file << false;
    if (QFileInfo::exists(runtime))
        QTest::newRow("the web page runtime") << "share/quillmoor/web/quillmoorpage.html" << false;
    if (QFileInfo::exists(guide))
        QTest::newRow("the author's guide") << "share/doc/quillmoor/guide/index.html" << false;
}

void TestInstall::layout()
{
    QFETCH(QString, path);
    QFETCH(bool, program);
    const QFileInfo file(installed(path));
    QVERIFY2(file.isFile(), qPrintable(path));
    QCOMPARE(file.isExecutable(), program);
}

// Whatever else comes to be installed, nothing lands outside the programs'
// folders and the desktop's own.
void TestInstall::nothingElsewhere()
{
    const QStringList places{"bin/", "libexec/quillmoor/", "share/quillmoor/", "share/applications/",
                             "share/icons/hicolor/", "share/mime/packages/", "share/doc/quillmoor/",
                             "share/man/man1/", "share/metainfo/", "share/lintian/overrides/"};
    QDirIterator files(prefix.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = QDir(prefix.path()).relativeFilePath(files.next());
        const bool placed = std::any_of(places.begin(), places.end(), [&](const QString &place) {
            return path.startsWith(place);
        });
        QVERIFY2(placed, qPrintable(path + " lies outside the installed folders"));
        ++count;
    }
    QVERIFY(count > 100);
}

void TestInstall::icons()
{
    for (const QString &name : {QStringLiteral("quillmoorplayer"), QStringLiteral("quillmoorstudio")}) {
        for (const QString &size : QStringLiteral(QUILLMOOR_ICON_SIZES).split(',')) {
            const QString path = QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size, name);
            const QImage icon(installed(path));
            QVERIFY2(!icon.isNull(), qPrintable(path));
            QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
            QVERIFY(icon.hasAlphaChannel());
        }
        const QString svg = QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(name);
        QFile scalable(installed(svg));
        QVERIFY2(scalable.open(QIODevice::ReadOnly), qPrintable(svg));
        QVERIFY(scalable.readAll().contains("<svg"));
    }
}

void TestInstall::pictures()
{
    const std::vector<LocationPicture> all = LocationPicture::all();
    QCOMPARE(all.size(), size_t(96));
    for (const LocationPicture &picture : all) {
        const QString path = "share/quillmoor/pictures/" + QString::fromStdString(picture.fileName());
        QVERIFY2(!QImage(installed(path)).isNull(), qPrintable(path));
    }
}

void TestInstall::dataFolder_data()
{
    QTest::addColumn<QString>("folder"); // where the program lies

    QTest::newRow("a program") << "bin";
    QTest::newRow("a helper") << "libexec/quillmoor";
}

// The finding of shipped files that every program uses, run from where the
// programs and the helpers (the player's window) are installed.
void TestInstall::dataFolder()
{
    QFETCH(QString, folder);
    const QString probe = installed(folder + "/datafolderprobe");
    QFile::remove(probe);
    QVERIFY(QFile::copy(QStringLiteral(QUILLMOOR_PROBE), probe));
    const QString picture = "pictures/" + QString::fromStdString(LocationPicture::all().front().fileName());
    const ToolRun run = runInstalled(folder + "/datafolderprobe",
                                     {"Language.txt", "QUILLMOOR.qw", "languages/all.txt", picture, "missing.txt"});
    QFile::remove(probe);
    QCOMPARE(run.exitCode, 0);
    const QStringList expected{installed("share/quillmoor/Language.txt"), installed("share/quillmoor/QUILLMOOR.qw"),
                               installed("share/quillmoor/languages/all.txt"),
                               installed("share/quillmoor/" + picture), QString(),
                               installed("libexec/quillmoor/quillmoorplayer-window")};
    QStringList found = QString::fromLocal8Bit(run.out).split('\n');
    found.removeLast();
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(QDir::cleanPath(found.at(i)), QDir::cleanPath(expected.at(i)));
}

// The bundled adventure and the language file from the prefix: the same
// game, word for word, as the build's player plays.
void TestInstall::playerInTerminal()
{
    const QByteArray input = "e\nlook\ni\nquit\ny\n";
    const ToolRun played = runInstalled("bin/quillmoorplayer", {"--tty"}, input);
    QVERIFY2(played.exitCode == 0, played.said());
    QVERIFY(played.err.isEmpty());
    const ToolRun built = ToolRun::of(QUILLMOOR_BIN_DIR "/quillmoorplayer", {"--tty"}, {}, input, elsewhere.path());
    QCOMPARE(played.out, built.out);
    QVERIFY(played.out.startsWith("Text Quillmoor Player: v"));

    const ToolRun languages = runInstalled("bin/quillmoorplayer",
                                           {"--tty", "--language", installed("share/quillmoor/languages/all.txt")},
                                           "2\nq\ny\n");
    QVERIFY2(languages.exitCode == 0, languages.said());
    QVERIFY(languages.out.contains("[2] Deutsch"));
}

void TestInstall::publish()
{
    if (!QFileInfo::exists(runtime))
        QSKIP("The web page runtime is not built (no emscripten).");
    const QString page = QDir(elsewhere.path()).filePath("installed.html");
    const ToolRun installedRun
        = runInstalled("bin/quillmoorpublish", {"-o", page, installed("share/quillmoor/QUILLMOOR.qw")});
    QVERIFY2(installedRun.exitCode == 0, installedRun.said());
    const QString builtPage = QDir(elsewhere.path()).filePath("built.html");
    const ToolRun builtRun = ToolRun::of(QUILLMOOR_BIN_DIR "/quillmoorpublish",
                                         {"-o", builtPage, installed("share/quillmoor/QUILLMOOR.qw")}, {}, {},
                                         elsewhere.path());
    QVERIFY2(builtRun.exitCode == 0, builtRun.said());
    QFile a(page);
    QFile b(builtPage);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray published = a.readAll();
    QVERIFY(published.size() > 10000);
    const QByteArray built = b.readAll();
    QCOMPARE(published.size(), built.size());
    QVERIFY(published == built);
}

// The installed checker proves the installed adventure with the installed
// language's words.
void TestInstall::check()
{
    const ToolRun checked = runInstalled("bin/quillmoorcheck", {installed("share/quillmoor/QUILLMOOR.qw")});
    QVERIFY2(checked.exitCode == 0, checked.said());
    QVERIFY2(checked.out.startsWith("No problems found.\n\nWinnable: "), checked.said());
    QVERIFY(checked.out.contains(" 3. TAKE lantern\n"));
}

// The installed studio starts and stays up (its libraries and resources are
// all there); it is ended from here.
void TestInstall::studioStarts()
{
    QProcess studio;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    studio.setProcessEnvironment(environment);
    studio.setWorkingDirectory(elsewhere.path());
    studio.start(installed("bin/studio"), {});
    QVERIFY(studio.waitForStarted());
    QVERIFY2(!studio.waitForFinished(1500), studio.readAllStandardError().constData());
    studio.kill();
    studio.waitForFinished();
}

void TestInstall::noDisplay_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("display"); // empty: none set
    QTest::addColumn<QString>("said"); // how the one line on standard error begins

    // A display number no X server listens on here (xvfb-run takes 99 and up).
    const QString away = QStringLiteral(":73");
    const QString none = QStringLiteral("there is no display (DISPLAY is not set).");
    const QString closed = QStringLiteral("the display cannot be opened (DISPLAY=:73).");
    const QString studio = QStringLiteral("studio: cannot open a window: ");
    const QString player = QStringLiteral("quillmoorplayer: cannot open a window: ");
    const QString window = QStringLiteral("libexec/quillmoor/quillmoorplayer-window");
    QTest::newRow("the studio, no display") << "bin/studio" << "" << studio + none;
    QTest::newRow("the studio, a display not there") << "bin/studio" << away << studio + closed;
    QTest::newRow("the player's window, no display") << window << "" << player + none;
    QTest::newRow("the player's window, a display not there") << window << away << player + closed;
    QTest::newRow("the player, a display not there") << "bin/quillmoorplayer" << away << player + closed;
}

// Without a display the window programs say so in one line and exit with
// status 1, where Qt would abort with a core dump.
void TestInstall::noDisplay()
{
    QFETCH(QString, program);
    QFETCH(QString, display);
    QFETCH(QString, said);
    const ToolRun run = ToolRun::of(installed(program), {},
                                    {{"DISPLAY", display}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, {},
                                    elsewhere.path());
    QVERIFY2(run.exitCode == 1, run.said());
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.startsWith(said.toUtf8()) && run.err.endsWith('\n') && run.err.count('\n') == 1, run.said());
}

// The studio as installed in the prefix: the bundled level's buttons get
// their pictures from share/quillmoor/pictures, and after a save the test
// launch starts the installed player, which plays the level.
void TestInstall::studioPicturesAndTestLaunch()
{
    const QString level = QDir(elsewhere.path()).filePath("launch.qw");
    QFile::remove(level);
    QVERIFY(QFile::copy(installed("share/quillmoor/QUILLMOOR.qw"), level));
    QFile::setPermissions(level, QFile::ReadOwner | QFile::WriteOwner);

    ScriptedPlatform platform;
    platform.folder = installed("bin");
    MapWindow map(platform);
    map.document().levelfile = level;
    QVERIFY(map.document().loadgame(level).isEmpty());
    int inUse = 0;
    for (const LocationButton *button : map.findChildren<LocationButton *>()) {
        if (button->backColor() != LocationButton::InUse)
            continue;
        ++inUse;
        QVERIFY2(!button->picture().isNull(), qPrintable(QStringLiteral("%1%2").arg(button->row()).arg(QChar('A' + button->col() - 1))));
    }
    QVERIFY(inUse > 5);

    platform.answers.enqueue(Platform::Answer::Yes);
    auto *save = map.findChild<QPushButton *>(QStringLiteral("Command83"));
    QVERIFY(save);
    save->click();
    const QList<ScriptedPlatform::Event> &events = platform.events;
    QVERIFY(!events.isEmpty());
    const ScriptedPlatform::Event &launch = events.last();
    QCOMPARE(int(launch.kind), int(ScriptedPlatform::Kind::StartProgram));
    QCOMPARE(QDir::cleanPath(launch.text), QDir::cleanPath(installed("bin/quillmoorplayer")));

    // Without a display the player plays in the terminal, as it would in its
    // window: the same command line.
    const ToolRun played = ToolRun::of(launch.text, launch.arguments,
                                       {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
                                       "quit\ny\n", elsewhere.path());
    QVERIFY2(played.exitCode == 0, played.said());
    QVERIFY(played.out.startsWith("Text Quillmoor Player: v"));
    QVERIFY(played.out.contains("Default Language:"));
}

// F1 in the installed studio opens the installed guide.
void TestInstall::studioOpensTheGuide()
{
    if (!QFileInfo::exists(guide))
        QSKIP("This build wrote no guide.");
    ScriptedPlatform platform;
    platform.folder = installed("bin");
    MapWindow map(platform);
    QAction *open = map.findChild<QAction *>(QStringLiteral("actionGuide"));
    QVERIFY(open);
    open->trigger();
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::OpenUrl),
             QStringList{QUrl::fromLocalFile(installed("share/doc/quillmoor/guide/index.html")).toString()});
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
