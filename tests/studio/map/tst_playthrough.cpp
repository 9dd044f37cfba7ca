// SPDX-License-Identifier: MIT
#include "mapwindow.h"
#include "scriptedplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A language of the test's own, so the session below does not hang on the
// wording of the shipped file.
const QStringList TestLanguage{
    QStringLiteral("[Test]"),
    QStringLiteral("Unknown command|Try HELP."),
    QStringLiteral("You have won!|End the game?"),
    QStringLiteral("There is no|here."),
    QStringLiteral("Take what?"),
    QStringLiteral("You take the"),
    QStringLiteral("You drop the|."),
    QStringLiteral("You do not carry|."),
    QStringLiteral("Drop what?"),
    QStringLiteral("You combine|with|and make"),
    QStringLiteral("Cannot combine|the same thing.|two things you carry."),
    QStringLiteral("No way there."),
    QStringLiteral("Exit"),
    QStringLiteral("You see"),
    QStringLiteral("Carry on."),
    QStringLiteral("N|north"),
    QStringLiteral("S|south"),
    QStringLiteral("E|east"),
    QStringLiteral("W|west"),
    QStringLiteral("DROP"),
    QStringLiteral("TAKE"),
    QStringLiteral("WITH"),
    QStringLiteral("COMBINE"),
    QStringLiteral("HELP"),
    QStringLiteral("INVENTORY"),
    QStringLiteral("QUIT"),
    QStringLiteral("You carry:"),
    QStringLiteral("Quit?"),
};

} // namespace

// A level made and saved in the studio plays in the player.
class TestPlaythrough : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savedLevelPlays();
};

void TestPlaythrough::savedLevelPlays()
{
    const QString player = QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorplayer");
    // The build makes the player before this test; without it nothing here
    // was tested.
    QVERIFY2(QFileInfo(player).isExecutable(), qPrintable(player + QStringLiteral(" is missing")));

    // The level is named as an author may type it: relative to the current
    // folder, which the player inherits, and starting with "-", which the
    // player must not take for an option.
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    const auto restore = qScopeGuard([&previous] { QDir::setCurrent(previous); });
    ScriptedPlatform platform;
    platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    MapWindow map(platform);
    LevelDocument &document = map.document();
    document.levelfile = QStringLiteral("-my first level.qw");

    // As the item manager and the area editor commit them.
    document.updateitems({U"brass key"}, {});
    document.updategrid({1, 1}, LocationRecord(U"You wake up in a cold cell.|PATH E|ITEM A|START|"), 0);
    document.updategrid({1, 2}, LocationRecord(U"A bright hall.\r\nThe door stands open.|PATH W|ENDGAME|"), 0);
    platform.answers.enqueue(Platform::Answer::Yes);
    map.findChild<QPushButton *>(QStringLiteral("Command83"))->click();

    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform), QStringList());
    QCOMPARE(platform.events.size(), 2);
    const ScriptedPlatform::Event &launch = platform.events.at(1);
    QCOMPARE(launch.kind, ScriptedPlatform::Kind::StartProgram);
    QCOMPARE(launch.text, player);

    const QString language = folder.filePath(QStringLiteral("Test.txt"));
    QFile languageFile(language);
    QVERIFY(languageFile.open(QIODevice::WriteOnly));
    languageFile.write((TestLanguage.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    languageFile.close();

    // The same level through the player's terminal, started with the arguments
    // the studio gave after the test's own options: take the key, go east, win.
    QProcess game;
    game.start(player, QStringList{QStringLiteral("--tty"), QStringLiteral("--language"), language} + launch.arguments);
    QVERIFY(game.waitForStarted());
    game.write("TAKE brass-key\nE\ny\n");
    game.closeWriteChannel();
    QVERIFY(game.waitForFinished(30000));
    const QString output = QString::fromUtf8(game.readAllStandardOutput());
    const QString errors = QString::fromUtf8(game.readAllStandardError());
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);

    const qsizetype cell = output.indexOf(QLatin1String("You wake up in a cold cell."));
    const qsizetype key = output.indexOf(QLatin1String("You take the brass-key."));
    const qsizetype hall = output.indexOf(QLatin1String("A bright hall.\nThe door stands open."));
    const qsizetype won = output.indexOf(QLatin1String("You have won!"));
    QVERIFY2(cell >= 0 && key > cell && hall > key && won > hall, qPrintable(output));
}

QTEST_MAIN(TestPlaythrough)
#include "tst_playthrough.moc"
