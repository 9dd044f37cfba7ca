// SPDX-License-Identifier: MIT
#include "biglevel.h"
#include "levelwriter.h"
#include "testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>

// Saves a large level in a process of its own (savelevel, through the
// studio's document) and kills it at random moments, fills its disk or takes
// its folder away: the level file is always the old bytes or the new, never a
// mix, and a save that fails loses none of the edits.
class TestSaveFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void killedWhileSaving();
    void failedSave_data();
    void failedSave();

private:
    // Starts saving the new level to path; returns once the level is made
    // and its writing begins.
    bool startSave(QProcess &save, const QString &path);
    // Waits until the save prints what.
    static bool waitFor(QProcess &save, const QByteArray &what);

    QByteArray old; // on disk before each save
    QByteArray saved; // what the save writes
};

void TestSaveFaults::initTestCase()
{
    old = QByteArray::fromStdString(LevelWriter::write(bigLevel(1, BigLevelSize)));
    saved = QByteArray::fromStdString(LevelWriter::write(bigLevel(2, BigLevelSize)));
    QVERIFY(old != saved);
}

bool TestSaveFaults::startSave(QProcess &save, const QString &path)
{
    save.start(QStringLiteral(SAVELEVEL), QStringList{path, QStringLiteral("2")});
    return save.waitForStarted() && waitFor(save, "writing");
}

bool TestSaveFaults::waitFor(QProcess &save, const QByteArray &what)
{
    QByteArray said;
    while (!said.contains(what)) {
        if (!save.waitForReadyRead(60000))
            return false;
        said += save.readAllStandardOutput();
    }
    return true;
}

void TestSaveFaults::killedWhileSaving()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("level.qw"));

    // A save left to finish tells how long writing takes.
    QVERIFY(TestFiles::write(path, old));
    QProcess whole;
    QVERIFY(startSave(whole, path));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(waitFor(whole, "saved"));
    const qint64 micros = timer.nsecsElapsed() / 1000;
    QVERIFY(whole.waitForFinished(60000));
    QCOMPARE(whole.exitCode(), 0);
    QVERIFY(TestFiles::read(path) == saved);

    // Kills at random moments from the first of writing on, up to a bound
    // that follows what they find: a save that was done by then brings it
    // down to that moment, one that was not raises it a little. So the kills
    // keep landing while the file is written and committed, however the
    // machine's load stretches a save.
    QRandomGenerator random(20261207);
    qint64 bound = micros + micros / 4 + 1;
    int kept = 0;
    int replaced = 0;
    int leftovers = 0;
    constexpr int Rounds = 20;
    for (int round = 0; round < Rounds; ++round) {
        QVERIFY(TestFiles::write(path, old));
        QProcess save;
        QVERIFY(startSave(save, path));
        const qint64 delay = random.bounded(bound);
        QThread::usleep(delay);
        save.kill();
        QVERIFY(save.waitForFinished(60000));
        const QByteArray found = TestFiles::read(path);
        QVERIFY2(found == old || found == saved,
                 qPrintable(QStringLiteral("round %1: %2 bytes that are neither the old level nor the new")
                                .arg(round)
                                .arg(found.size())));
        ++(found == old ? kept : replaced);
        bound = found == old ? bound + bound / 4 + 1 : std::max<qint64>(delay, 100);
        // A save killed before its commit may leave its unfinished copy.
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files)) {
            if (name != QStringLiteral("level.qw") && QFile::remove(dir.filePath(name)))
                ++leftovers;
        }
    }
    qInfo("%d saves killed before the new level was in place, %d after, %d unfinished copies left; a whole "
          "save takes %lld us",
          kept, replaced, leftovers, static_cast<long long>(micros));
}

void TestSaveFaults::failedSave_data()
{
    QTest::addColumn<bool>("full"); // the disk fills up; else the folder is gone
    QTest::newRow("full disk") << true;
    QTest::newRow("vanished folder") << false;
}

void TestSaveFaults::failedSave()
{
    QFETCH(bool, full);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("level.qw"));
    QStringList more;
    if (full) {
        QVERIFY(TestFiles::write(path, old));
        more = QStringList{QStringLiteral("--limit"), QString::number(saved.size() / 2)};
    } else {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("gone")));
        path = dir.filePath(QStringLiteral("gone/level.qw"));
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("gone")));
    }
    // Once the save has failed, the same document saves to a good place.
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.qw"));
    more += QStringList{QStringLiteral("--then"), elsewhere};

    QProcess save;
    save.start(QStringLiteral(SAVELEVEL), QStringList{path, QStringLiteral("2")} + more);
    QVERIFY(save.waitForFinished(60000));
    const QByteArray said = save.readAllStandardOutput();
    QCOMPARE(save.exitCode(), 1);
    QVERIFY2(save.readAllStandardError().contains("Could not save the level to"), "the failure is not reported");
    // The file on disk is unchanged, and nothing was left beside it.
    if (full)
        QVERIFY(TestFiles::read(path) == old);
    else
        QVERIFY(!QFileInfo::exists(QFileInfo(path).path()));
    // The edits are not lost: still unsaved, and the whole new level once
    // saved where there is room.
    QVERIFY2(said.contains("still modified"), said.constData());
    QVERIFY2(said.contains("saved elsewhere"), said.constData());
    QVERIFY(TestFiles::read(elsewhere) == saved);
    QStringList files{QStringLiteral("elsewhere.qw")};
    if (full)
        files << QStringLiteral("level.qw");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
