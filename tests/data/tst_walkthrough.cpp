// SPDX-License-Identifier: MIT
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString BinDir = QStringLiteral(QUILLMOOR_BIN_DIR);
const QString TestDir = QStringLiteral(QUILLMOOR_SOURCE_DIR "/tests/data");
const QString Player = BinDir + QStringLiteral("/quillmoorplayer");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

struct Run
{
    QByteArray output;
    QByteArray errors;
    int exitCode = -1;
    bool finished = false;
};

// Plays the built player in the terminal with the typed lines piped in. It
// runs in an empty folder, so that the level it chains to is found beside the
// level that names it, as it is for a user playing from anywhere.
Run play(const QStringList &arguments, const QByteArray &input)
{
    QTemporaryDir elsewhere;
    QProcess player;
    player.setWorkingDirectory(elsewhere.path());
    player.start(Player, QStringList{"--tty"} + arguments);
    Run run;
    if (!player.waitForStarted(10000))
        return run;
    player.write(input);
    player.closeWriteChannel();
    run.finished = player.waitForFinished(120000) && player.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        player.kill();
    run.output = player.readAllStandardOutput();
    run.errors = player.readAllStandardError();
    run.exitCode = player.exitCode();
    return run;
}

// Names the first line where the transcripts part, which a plain comparison
// of two long texts would not show.
QString firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    const QList<QByteArray> got = actual.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i) {
        const QByteArray a = i < got.size() ? got.at(i) : QByteArray("<end of output>");
        const QByteArray b = i < want.size() ? want.at(i) : QByteArray("<end of transcript>");
        if (a != b)
            return QStringLiteral("line %1:\n   actual: \"%2\"\n expected: \"%3\"")
                .arg(i + 1)
                .arg(QString::fromUtf8(a), QString::fromUtf8(b));
    }
    return {};
}

} // namespace

// The bundled adventure played by the built player in the terminal, compared
// line for line with the transcripts kept beside this test.
class TestWalkthrough : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void transcript_data();
    void transcript();
    void singleLanguage_data();
    void singleLanguage();
};

void TestWalkthrough::initTestCase()
{
    // The build makes the player before this test; without it nothing here
    // was tested.
    QVERIFY2(QFileInfo(Player).isExecutable(), qPrintable(Player + QStringLiteral(" is missing")));
}

void TestWalkthrough::transcript_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("session");
    const QStringList menu{"--language", BinDir + QStringLiteral("/languages/all.txt")};
    // With no level named, the player plays the bundled adventure.
    QTest::newRow("English, both levels to the end") << QStringList{} << "walkthrough";
    QTest::newRow("menu, English") << menu << "menu-english";
    QTest::newRow("menu, Deutsch") << menu << "menu-deutsch";
    QTest::newRow("menu, Français") << menu << "menu-francais";
    QTest::newRow("menu, Español") << menu << "menu-espanol";
}

void TestWalkthrough::transcript()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, session);
    const Run run = play(arguments, readBytes(TestDir + u'/' + session + QStringLiteral(".in")));
    QVERIFY2(run.finished, "the player did not finish");
    const QByteArray expected = readBytes(TestDir + u'/' + session + QStringLiteral(".out"));
    const QString difference = firstDifference(run.output, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(run.errors, QByteArray());
    QCOMPARE(run.exitCode, 0);
}

void TestWalkthrough::singleLanguage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("exits");
    QTest::addColumn<QByteArray>("question");
    QTest::newRow("Deutsch") << "Deutsch.txt" << QByteArray("Deutsch")
                             << QByteArray("Ein Ausgang führt nach Osten. ")
                             << QByteArray("Möchtest du das Spiel wirklich beenden?");
    QTest::newRow("Français") << "Francais.txt" << QByteArray("Français")
                              << QByteArray("Il y a une sortie à l'est. ")
                              << QByteArray("Voulez-vous vraiment quitter la partie ?");
    QTest::newRow("Español") << "Espanol.txt" << QByteArray("Español") << QByteArray("Hay una salida al este. ")
                             << QByteArray("¿De verdad quieres salir de la partida?");
}

void TestWalkthrough::singleLanguage()
{
    // A translation on its own needs no menu: the game starts in it at once.
    QFETCH(QString, file);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, exits);
    QFETCH(QByteArray, question);
    const Run run = play({"--language", BinDir + QStringLiteral("/languages/") + file}, "q\ny\n");
    QVERIFY2(run.finished, "the player did not finish");
    QVERIFY2(run.output.contains("\nDefault Language:\n[1] " + name + "\n\n>Carter's Stone\n"), run.output);
    QVERIFY2(run.output.endsWith("\n" + exits + "\n>q\n" + question + " (y/n) y\n"), run.output);
    QCOMPARE(run.errors, QByteArray());
    QCOMPARE(run.exitCode, 0);
}

QTEST_GUILESS_MAIN(TestWalkthrough)
#include "tst_walkthrough.moc"
