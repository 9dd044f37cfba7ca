// SPDX-License-Identifier: MIT
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Writing a whole file: the new bytes or, on failure, the old file as it
// was, and never a file of the writer's own left behind.
class TestFileBytes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void write_data();
    void write();
};

void TestFileBytes::write_data()
{
    QTest::addColumn<QString>("target"); // in the test's folder
    QTest::addColumn<QByteArray>("before"); // the file there first; null: none
    QTest::addColumn<QString>("error"); // empty: written

    QTest::newRow("a new file") << "game.qwsave" << QByteArray() << "";
    QTest::newRow("over an old file, keeping its permissions") << "game.qwsave" << QByteArray("old bytes") << "";
    QTest::newRow("into a folder that is not there") << "none/game.qwsave" << QByteArray() << "No such file or directory";
    QTest::newRow("over a folder") << "folder" << QByteArray() << "Is a directory";
    if (geteuid() != 0)
        QTest::newRow("into a folder that takes no files") << "locked/game.qwsave" << QByteArray() << "Permission denied";
}

void TestFileBytes::write()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, before);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder") && QDir(dir.path()).mkdir("locked"));
    QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
    const std::string path = dir.filePath(target).toStdString();
    if (!before.isNull()) {
        QFile file(dir.filePath(target));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        QVERIFY(::chmod(path.c_str(), 0640) == 0);
    }
    const QStringList present = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    std::string why;
    QCOMPARE(FileBytes::writable(path, &why), error.isEmpty());
    QCOMPARE(QString::fromStdString(why), error);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), present);

    why.clear();
    const std::string bytes = "Quillmoor saved game, version 1\n";
    QCOMPARE(FileBytes::write(path, bytes, &why), error.isEmpty());
    QCOMPARE(QString::fromStdString(why), error);
    if (error.isEmpty()) {
        QCOMPARE(FileBytes::read(path, nullptr), std::optional<std::string>(bytes));
        struct stat info{};
        QVERIFY(::stat(path.c_str(), &info) == 0);
        if (!before.isNull())
            QCOMPARE(info.st_mode & 0777, 0640u);
    }
    QStringList after = present;
    if (error.isEmpty() && before.isNull())
        after << target;
    after.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name), after);
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_APPLESS_MAIN(TestFileBytes)
#include "tst_filebytes.moc"
