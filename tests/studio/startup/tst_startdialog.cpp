// SPDX-License-Identifier: MIT
#include "buildinfo.h"
#include "levelreader.h"
#include "locationartist.h"
#include "qtext.h"
#include "scriptedplatform.h"
#include "startdialog.h"
#include "studiocommandline.h"
#include "testfiles.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

using Kind = ScriptedPlatform::Kind;
using Answer = Platform::Answer;

const QString ExtensionQuestion = QStringLiteral(
    "It is reccomended that you end the file with the '.qw' extension. Do you want me to add it?");
const QString NoName = QStringLiteral("You must choose a file name!");

QByteArray levelWith(const QStringList &blocks)
{
    return TestFiles::level(QStringList{QStringLiteral("[ITEMS]"), QString()} + blocks);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    return TestFiles::write(path, bytes);
}

struct Studio
{
    Studio()
        : start(platform)
    {
        platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
        start.show();
    }
    QLineEdit *text1() { return start.findChild<QLineEdit *>(QStringLiteral("Text1")); }
    // The level heading, once the map window is built.
    QString caption()
    {
        return start.mapWindow() ? start.mapWindow()->findChild<QLabel *>(QStringLiteral("Label19"))->text() : QString();
    }
    void proceed(const QString &typed, const QList<Answer> &answers = {})
    {
        for (Answer given : answers)
            platform.answers.enqueue(given);
        text1()->setText(typed);
        QTest::mouseClick(start.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    }

    ScriptedPlatform platform;
    StartDialog start;
};

} // namespace

class TestStartDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void continueFlows_data();
    void continueFlows();
    void malformedLevelOpensWithItsFault();
    void faultSaysWhatSavingKeeps_data();
    void faultSaysWhatSavingKeeps();
    void unreadableNameStays_data();
    void unreadableNameStays();
    void nonLevelIsReplacedOnlyOnYes_data();
    void nonLevelIsReplacedOnlyOnYes();
    void browse();
    void closingEndsTheStudio();
    void commandLine_data();
    void commandLine();
    void openFromCommandLine_data();
    void openFromCommandLine();
    void programOptions_data();
    void programOptions();
    void accessibleNames();

private:
    QTemporaryDir folder;
    QString previous;
};

void TestStartDialog::init()
{
    // Names are typed relative to the current folder, as the author would.
    previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    QVERIFY(writeFile(QStringLiteral("old.qw"),
                      levelWith({QStringLiteral("[LOCATION 2C]"), QStringLiteral("Hall."), QStringLiteral("PATH N"),
                                 QString(), QStringLiteral("[COMBOS]"), QString()})));
}

void TestStartDialog::cleanup()
{
    QDir::setCurrent(previous);
}

void TestStartDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label1") << "Label1" << "Enter name of level file (*.qw) to edit/create:";
    QTest::newRow("Text1") << "Text1" << "";
    QTest::newRow("Command2") << "Command2" << "...";
    QTest::newRow("Command1") << "Command1" << "Continue";
    QTest::newRow("Label2") << "Label2" << "Quillmoor Studio";
}

void TestStartDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Studio studio;
    QWidget *control = studio.start.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->isVisible());
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), caption);
    else if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
    else
        QCOMPARE(qobject_cast<QLineEdit *>(control)->text(), caption);

    QCOMPARE(studio.start.objectName(), QStringLiteral("StartDialog"));
    QCOMPARE(studio.start.windowTitle(), QStringLiteral("Quillmoor Studio"));
    // The picture drawn with the build is the one the artist draws now.
    QCOMPARE(studio.start.findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().toImage().convertToFormat(
                 QImage::Format_RGB32),
             LocationArtist::mapSample());
    QVERIFY(!studio.start.findChild<QLabel *>(QStringLiteral("Label3"))->text().isEmpty());
    QVERIFY(!studio.start.findChild<QLabel *>(QStringLiteral("Label4"))->text().isEmpty());
    // The main window and its dialogs are built only once a level is named.
    QVERIFY(!studio.start.mapWindow());
}

void TestStartDialog::continueFlows_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("asked"); // the extension question
    QTest::addColumn<QString>("text1"); // afterwards
    QTest::addColumn<QString>("levelfile"); // empty: the dialog stays
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("loaded");

    const QList<Answer> yes{Answer::Yes};
    const QList<Answer> no{Answer::No};
    QTest::newRow("empty, Yes: a level named .qw") << "" << yes << true << ".qw" << ".qw" << ".qw" << false;
    QTest::newRow("empty, No: no name") << "" << no << true << "" << "" << "" << false;
    QTest::newRow("spaces, No: no name") << "   " << no << true << "   " << "" << "" << false;
    QTest::newRow("no extension, Yes") << " castle " << yes << true << "castle.qw" << "castle.qw" << "castle.qw" << false;
    QTest::newRow("no extension, No") << "castle" << no << true << "castle" << "castle" << "castle" << false;
    QTest::newRow("capital extension") << "CASTLE.QW" << no << false << "CASTLE.QW" << "CASTLE.QW" << "CASTLE.QW"
                                       << false;
    QTest::newRow(".qw inside the name") << "my.qwerty" << no << false << "my.qwerty" << "my.qwerty" << "my.qwerty"
                                         << false;
    QTest::newRow("new, spaces around") << "  new.qw  " << no << false << "  new.qw  " << "new.qw" << "new.qw" << false;
    QTest::newRow("existing, spaces around") << "  old.qw " << no << false << "  old.qw " << "old.qw"
                                             << "Level:   old.qw " << true;
    QTest::newRow("existing once the extension is added") << "old" << yes << true << "old.qw" << "old.qw"
                                                          << "Level: old.qw" << true;
}

void TestStartDialog::continueFlows()
{
    QFETCH(QString, typed);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, asked);
    QFETCH(QString, text1);
    QFETCH(QString, levelfile);
    QFETCH(QString, caption);
    QFETCH(bool, loaded);

    Studio studio;
    studio.proceed(typed, answers);

    QCOMPARE(studio.platform.texts(Kind::Ask), asked ? QStringList{ExtensionQuestion} : QStringList());
    QCOMPARE(studio.text1()->text(), text1);
    const bool goesOn = !levelfile.isEmpty();
    QCOMPARE(studio.platform.texts(Kind::Inform), goesOn ? QStringList() : QStringList{NoName});
    QCOMPARE(studio.start.isVisible(), !goesOn);
    QCOMPARE(studio.caption(), caption);
    MapWindow *map = studio.start.mapWindow();
    QCOMPARE(bool(map), goesOn);
    if (map) {
        QVERIFY(map->isVisible());
        QVERIFY(!map->areaStatsDialog().isVisible());
        QVERIFY(!map->itemManagementDialog().isVisible());
        QCOMPARE(map->document().levelfile, levelfile);
        QCOMPARE(map->document().inUse({2, 3}), loaded);
        QCOMPARE(map->document().locdata({2, 3}).isEmpty(), !loaded);
    }
    // Nothing is written before the first save.
    QVERIFY(!QFile::exists(QStringLiteral("castle.qw")));
}

void TestStartDialog::malformedLevelOpensWithItsFault()
{
    QVERIFY(writeFile(QStringLiteral("broken.qw"),
                      levelWith({QStringLiteral("[LOCATION 1A]"), QStringLiteral("Cell."), QStringLiteral("START"),
                                 QString(), QStringLiteral("[LOCATION 0Z]"), QStringLiteral("Void."), QString()})));
    Studio studio;
    studio.proceed(QStringLiteral("broken.qw"));
    QVERIFY(studio.start.mapWindow());
    MapWindow &map = *studio.start.mapWindow();
    QVERIFY(map.isVisible());
    const QStringList messages = studio.platform.texts(Kind::Inform);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(QLatin1String("broken.qw")), qPrintable(messages.first()));
    QVERIFY2(messages.first().contains(QLatin1String("line 18")), qPrintable(messages.first()));
    QVERIFY2(messages.first().contains(QLatin1String("[LOCATION 0Z]")), qPrintable(messages.first()));
    // What came before the fault is there to work with.
    QVERIFY(map.document().inUse({1, 1}));
    QVERIFY(map.document().locdata({1, 1}).text().starts_with(U"Cell.|START|"));
    QCOMPARE(map.document().levelfile, QStringLiteral("broken.qw"));
}

void TestStartDialog::faultSaysWhatSavingKeeps_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("unread");
    const QStringList cell{QStringLiteral("[LOCATION 1A]"), QStringLiteral("Cell."), QStringLiteral("START")};
    QTest::newRow("the last location lacks its empty line") << levelWith(cell) << false;
    QTest::newRow("the [COMBOS] section lacks its empty line")
        << levelWith(cell + QStringList{QString(), QStringLiteral("[COMBOS]"), QStringLiteral("A+B=C")}) << false;
    QTest::newRow("a bad header before the end")
        << levelWith(cell + QStringList{QString(), QStringLiteral("[LOCATION 0Z]"), QString(),
                                        QStringLiteral("[LOCATION 1B]"), QStringLiteral("Hall."), QString()})
        << true;
}

void TestStartDialog::faultSaysWhatSavingKeeps()
{
    // Only a fault that left part of the file unread makes saving lose it.
    QFETCH(QByteArray, bytes);
    QFETCH(bool, unread);
    QVERIFY(writeFile(QStringLiteral("level.qw"), bytes));
    Studio studio;
    studio.proceed(QStringLiteral("level.qw"));
    const QStringList messages = studio.platform.texts(Kind::Inform);
    QCOMPARE(messages.size(), 1);
    const QString partOnly = QStringLiteral("Saving replaces the file with only that part.");
    const QString whole = QStringLiteral("The studio has read the whole file all the same; saving writes the level "
                                         "with that empty line in place.");
    QVERIFY2(messages.first().endsWith(unread ? partOnly : whole), qPrintable(messages.first()));
    QVERIFY2(!messages.first().contains(unread ? whole : partOnly), qPrintable(messages.first()));
    QVERIFY(toQString(studio.start.mapWindow()->document().locdata({1, 1}).text()).startsWith(QLatin1String("Cell.|START|")));
}

void TestStartDialog::unreadableNameStays_data()
{
    QTest::addColumn<bool>("isFolder");
    QTest::newRow("a folder") << true;
    if (geteuid() != 0) // permissions do not stop root
        QTest::newRow("a file that cannot be read") << false;
}

void TestStartDialog::unreadableNameStays()
{
    QFETCH(bool, isFolder);
    const QString name = QStringLiteral("locked.qw");
    if (isFolder) {
        QVERIFY(QDir().mkdir(name));
    } else {
        QVERIFY(writeFile(name, "[MAP]\r\n"));
        QVERIFY(QFile::setPermissions(name, QFile::WriteOwner));
    }
    Studio studio;
    studio.proceed(name);
    QVERIFY(!studio.start.mapWindow());
    QVERIFY(studio.start.isVisible());
    const QStringList messages = studio.platform.texts(Kind::Inform);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().contains(name));
    if (isFolder)
        QVERIFY(QDir().rmdir(name));
    else
        QFile::remove(name);
}

void TestStartDialog::nonLevelIsReplacedOnlyOnYes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("level"); // a level, however odd
    QTest::addColumn<bool>("commandLine"); // opened as "studio FILE", else by "Continue"
    QTest::addColumn<QString>("via"); // what saves: save, close, publish or walkthrough
    QTest::addColumn<bool>("replace"); // the answer to the question

    QByteArray noise(1000000, Qt::Uninitialized);
    QRandomGenerator(16).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    const QByteArray text("Dear diary,\r\nno level here.\r\n");
    QTest::newRow("random bytes, save, No") << noise << false << false << "save" << false;
    QTest::newRow("random bytes, save, Yes") << noise << false << true << "save" << true;
    QTest::newRow("text, close, No") << text << false << false << "close" << false;
    QTest::newRow("text, close, Yes") << text << false << false << "close" << true;
    QTest::newRow("empty, publish, No") << QByteArray() << false << true << "publish" << false;
    QTest::newRow("empty, publish, Yes") << QByteArray() << false << false << "publish" << true;
    QTest::newRow("text, walkthrough, No") << text << false << false << "walkthrough" << false;
    QTest::newRow("empty, walkthrough, Yes") << QByteArray() << false << true << "walkthrough" << true;
    QTest::newRow("only [COMBOS]") << QByteArray("[COMBOS]\r\nA+B=C\r\n\r\n") << true << false << "save" << false;
    QTest::newRow("a cut-off block") << QByteArray("[LOCATION 1A]\r\nCell.\r\nSTART") << true << true << "close"
                                     << false;
}

// A file that holds no level is said to be none when it opens, and every save
// asks before it replaces it, once; a level saves as it always has.
void TestStartDialog::nonLevelIsReplacedOnlyOnYes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, level);
    QFETCH(bool, commandLine);
    QFETCH(QString, via);
    QFETCH(bool, replace);
    const QString name = QStringLiteral("mine.qw");
    QVERIFY(writeFile(name, bytes));
    // The programs' folder, with a page runtime of the test's own.
    QTemporaryDir programs;
    QVERIFY(QFile::copy(QStringLiteral(QUILLMOOR_BIN_DIR "/Language.txt"), programs.filePath("Language.txt")));
    QVERIFY(QDir(programs.path()).mkpath("web"));
    QVERIFY(writeFile(programs.filePath("web/quillmoorpage.html"), "<html>@QUILLMOOR_GAME@</html>"));

    Studio studio;
    studio.platform.folder = programs.path();
    if (commandLine)
        QVERIFY(studio.start.openFromCommandLine(name));
    else
        studio.proceed(name);
    MapWindow *map = studio.start.mapWindow();
    QVERIFY(map && map->isVisible());
    const QStringList told = studio.platform.texts(Kind::Inform);
    const QString note = toQString(LevelReader::notALevel("mine.qw"));
    if (level) {
        QVERIFY(!told.join(' ').contains(note));
    } else {
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().startsWith(note), qPrintable(told.first()));
    }

    LevelDocument &document = map->document();
    document.updategrid({1, 1}, LocationRecord(U"Cell.|PATH E|START|"), 0);
    document.updategrid({1, 2}, LocationRecord(U"Out.|PATH W|ENDGAME|"), 0);
    const QByteArray edited = QByteArray::fromStdString(document.bytesToSave());
    auto *play = map->checkLevelDialog().findChild<QPushButton *>("playButton");
    if (via == "walkthrough") {
        QSignalSpy checked(&map->checkLevelDialog(), &CheckLevelDialog::checked);
        map->findChild<QPushButton *>("checkButton")->click();
        QVERIFY(checked.wait(60000) || checked.size() == 1);
        QVERIFY(play->isEnabled());
    }
    studio.platform.events.clear();
    // The boxes of each way to save, as they come, and their answers.
    QList<Kind> boxes;
    QQueue<Answer> &answers = studio.platform.answers;
    if (via == "close" || via == "walkthrough") {
        boxes << (via == "close" ? Kind::AskOrCancel : Kind::Ask); // save first?
        answers << Answer::Yes;
    }
    if (!level) {
        boxes << Kind::AskDefaultNo;
        answers << (replace ? Answer::Yes : Answer::No);
    }
    const bool saved = level || replace;
    if (saved && via == "save") {
        boxes << Kind::Ask; // try it in the player?
        answers << Answer::No;
    }
    if (saved && via == "publish")
        boxes << Kind::SaveFile << Kind::Inform; // published
    if (saved && via == "walkthrough")
        boxes << Kind::StartProgram;
    studio.platform.saveFileResults.enqueue(QDir::current().filePath("page.html"));

    if (via == "save")
        map->findChild<QPushButton *>("Command83")->click();
    else if (via == "close")
        map->close();
    else if (via == "publish")
        map->findChild<QPushButton *>("publishButton")->click();
    else
        play->click();

    QList<Kind> shown;
    for (const ScriptedPlatform::Event &event : studio.platform.events)
        shown << event.kind;
    QCOMPARE(shown, boxes);
    QCOMPARE(studio.platform.texts(Kind::AskDefaultNo),
             level ? QStringList() : QStringList{"\"mine.qw\" is not a Quillmoor level. Replace it?"});
    // No keeps both the file and the edits, still to be saved.
    QCOMPARE(TestFiles::read(name), saved ? edited : bytes);
    QCOMPARE(QByteArray::fromStdString(document.bytesToSave()), edited);
    QCOMPARE(document.isModified(), !saved);
    QCOMPARE(map->isVisible(), !(saved && via == "close"));

    // Once a level is written there, saving asks no more.
    if (saved) {
        studio.platform.events.clear();
        studio.platform.answers << Answer::No;
        map->findChild<QPushButton *>("Command83")->click();
        QCOMPARE(studio.platform.texts(Kind::AskDefaultNo), QStringList());
        QCOMPARE(TestFiles::read(name), edited);
    }
}

void TestStartDialog::browse()
{
    Studio studio;
    QPushButton *browseButton = studio.start.findChild<QPushButton *>(QStringLiteral("Command2"));
    studio.text1()->setText(QStringLiteral("typed.qw"));
    studio.platform.openFileResults << QStringLiteral("/levels/castle.qw") << QString();

    browseButton->click();
    QCOMPARE(studio.text1()->text(), QStringLiteral("/levels/castle.qw"));
    QCOMPARE(studio.platform.texts(Kind::OpenFile), QStringList{QStringLiteral("Open a document...")});

    // Cancelling keeps what is in the box.
    studio.text1()->setText(QStringLiteral("typed.qw"));
    browseButton->click();
    QCOMPARE(studio.text1()->text(), QStringLiteral("typed.qw"));
    QVERIFY(!studio.start.mapWindow());
}

void TestStartDialog::closingEndsTheStudio()
{
    Studio studio;
    QSignalSpy rejected(&studio.start, &QDialog::rejected);
    QVERIFY(studio.start.close());
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!studio.start.mapWindow());

    // After "Continue" the start dialog only hides: the studio goes on.
    Studio continued;
    QSignalSpy quiet(&continued.start, &QDialog::rejected);
    continued.proceed(QStringLiteral("new.qw"));
    QVERIFY(!continued.start.isVisible());
    QCOMPARE(quiet.count(), 0);
}

void TestStartDialog::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::addColumn<QString>("error"); // a part of it

    QTest::newRow("nothing") << QStringList{} << "" << false << false << "";
    QTest::newRow("a level") << QStringList{"castle.qw"} << "castle.qw" << false << false << "";
    QTest::newRow("spaces in the path") << QStringList{"/home/me/my castle.qw"} << "/home/me/my castle.qw" << false
                                        << false << "";
    QTest::newRow("quotes stay") << QStringList{"a\"b.qw"} << "a\"b.qw" << false << false << "";
    QTest::newRow("--help") << QStringList{"--help"} << "" << true << false << "";
    QTest::newRow("--version") << QStringList{"--version"} << "" << false << true << "";
    QTest::newRow("-- ends the options") << QStringList{"--", "--help"} << "--help" << false << false << "";
    QTest::newRow("- is a name") << QStringList{"-"} << "-" << false << false << "";
    QTest::newRow("empty argument") << QStringList{""} << "" << false << false << "";
    QTest::newRow("unknown option") << QStringList{"-x"} << "" << false << false << "unknown option \"-x\"";
    QTest::newRow("two levels") << QStringList{"a.qw", "b.qw"} << "" << false << false << "one level file only";
}

void TestStartDialog::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, level);
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(QString, error);
    std::vector<std::string> given;
    for (const QString &argument : arguments)
        given.push_back(argument.toStdString());
    const StudioCommandLine options = StudioCommandLine::parse(given);
    QCOMPARE(QString::fromStdString(options.level), level);
    QCOMPARE(options.help, help);
    QCOMPARE(options.version, version);
    QVERIFY2(error.isEmpty() ? options.error.empty() : QString::fromStdString(options.error).contains(error),
             options.error.c_str());
}

void TestStartDialog::openFromCommandLine_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("asked"); // the extension question
    QTest::addColumn<QString>("levelfile"); // empty: the start dialog stays
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message"); // a part of the one message told

    const QList<Answer> yes{Answer::Yes};
    const QList<Answer> no{Answer::No};
    QTest::newRow("existing") << "old.qw" << no << false << "old.qw" << "Level: old.qw" << "";
    QTest::newRow("existing, spaces around") << " old.qw " << no << false << "old.qw" << "Level:  old.qw " << "";
    // Handed over by a file manager: opened whatever its name.
    QTest::newRow("existing without .qw") << "notes" << no << false << "notes" << "Level: notes" << "";
    QTest::newRow("new") << "fresh.qw" << no << false << "fresh.qw" << "fresh.qw" << "";
    QTest::newRow("new without .qw, Yes") << "fresh" << yes << true << "fresh.qw" << "fresh.qw" << "";
    QTest::newRow("new without .qw, No") << "fresh" << no << true << "fresh" << "fresh" << "";
    QTest::newRow("a folder") << "folder.qw" << no << false << "" << "" << "is a folder";
    if (geteuid() != 0) // permissions do not stop root
        QTest::newRow("unreadable") << "locked.qw" << no << false << "" << "" << "cannot be read";
}

void TestStartDialog::openFromCommandLine()
{
    QFETCH(QString, path);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, asked);
    QFETCH(QString, levelfile);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    QVERIFY(writeFile(QStringLiteral("notes"), levelWith({QStringLiteral("[COMBOS]"), QString()})));
    QVERIFY(QDir().mkpath(QStringLiteral("folder.qw")));
    QVERIFY(writeFile(QStringLiteral("locked.qw"), "[MAP]\r\n"));
    QVERIFY(QFile::setPermissions(QStringLiteral("locked.qw"), QFile::WriteOwner));

    // As the studio starts with a level named: the start dialog not shown.
    ScriptedPlatform platform;
    platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    platform.answers.append(answers);
    StartDialog start(platform);
    const bool opened = start.openFromCommandLine(path);

    QCOMPARE(opened, !levelfile.isEmpty());
    QCOMPARE(platform.texts(Kind::Ask), asked ? QStringList{ExtensionQuestion} : QStringList());
    const QStringList messages = platform.texts(Kind::Inform);
    QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(messages.first().contains(message), qPrintable(messages.first()));
    // What cannot be opened stays in the dialog, for the author to mend.
    if (!opened)
        QCOMPARE(start.findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), path);
    QVERIFY(!start.isVisible());
    if (opened) {
        MapWindow *map = start.mapWindow();
        QVERIFY(map && map->isVisible());
        QCOMPARE(map->document().levelfile, levelfile);
        QCOMPARE(map->findChild<QLabel *>(QStringLiteral("Label19"))->text(), caption);
        QCOMPARE(map->document().inUse({2, 3}), levelfile == "old.qw");
    }
    QFile::remove(QStringLiteral("locked.qw"));
    QDir().rmdir(QStringLiteral("folder.qw"));
}

void TestStartDialog::programOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: studio [OPTIONS] [--] [LEVEL]\n" << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "studio " QUILLMOOR_VERSION "\n" << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << ""
                                    << "studio: unknown option \"--frobnicate\".";
}

// Answered before any window is made, so no display is needed.
void TestStartDialog::programOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess studio;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    studio.setProcessEnvironment(environment);
    studio.start(QStringLiteral(QUILLMOOR_BIN_DIR "/studio"), arguments);
    QVERIFY(studio.waitForFinished(30000));
    QCOMPARE(studio.exitStatus(), QProcess::NormalExit);
    QCOMPARE(studio.exitCode(), status);
    const QString printed = QString::fromUtf8(studio.readAllStandardOutput());
    QVERIFY2(out.isEmpty() ? printed.isEmpty() : printed.startsWith(out), qPrintable(printed));
    const QString complaint = QString::fromUtf8(studio.readAllStandardError());
    QVERIFY2(err.isEmpty() ? complaint.isEmpty() : complaint.startsWith(err), qPrintable(complaint));
}

void TestStartDialog::accessibleNames()
{
    Studio studio;
    const QList<std::pair<const char *, QString>> names{
        {"Text1", QStringLiteral("Enter name of level file (*.qw) to edit/create:")},
        {"Command2", QStringLiteral("Browse for a level file")},
        {"Command1", QStringLiteral("Continue")},
    };
    for (const auto &[name, spoken] : names) {
        QWidget *control = studio.start.findChild<QWidget *>(QLatin1String(name));
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), spoken);
    }
    // The focus runs as the dialog reads: the name, "...", "Continue".
    QWidget *at = studio.text1();
    for (const char *name : {"Command2", "Command1"}) {
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus)
            at = at->nextInFocusChain();
        QCOMPARE(at->objectName(), QLatin1String(name));
    }
}

QTEST_MAIN(TestStartDialog)
#include "tst_startdialog.moc"
