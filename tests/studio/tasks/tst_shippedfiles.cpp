// SPDX-License-Identifier: MIT
#include "buildinfo.h"
#include "scriptedplatform.h"
#include "shippedfiles.h"
#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// Where the studio finds the files shipped with it: beside it as in the
// build, else in the installed data folder, seen from where the desktop says
// it lies.
class TestShippedFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void found_data();
    void found();
    void programsLieTogether();
};

void TestShippedFiles::found_data()
{
    QTest::addColumn<QString>("program"); // the studio's folder, in the prefix
    QTest::addColumn<QString>("name"); // asked for
    QTest::addColumn<QString>("lying"); // where a file lies, in the prefix; empty: nowhere
    QTest::addColumn<bool>("found");

    const QString bin = QStringLiteral("bin");
    const QString libexec = QDir::cleanPath(bin + QStringLiteral("/" QUILLMOOR_LIBEXEC_FROM_BIN));
    const QString data = QDir::cleanPath(bin + QStringLiteral("/" QUILLMOOR_DATA_FROM_BIN));
    const QString language = QStringLiteral("Language.txt");
    const QString runtime = QStringLiteral("web/quillmoorpage.html");
    // Pictures are asked for by their file name alone.
    const QString picture = QStringLiteral("OI0110.bmp");
    QTest::newRow("language beside") << bin << language << "bin/Language.txt" << true;
    QTest::newRow("language installed") << bin << language << data + "/Language.txt" << true;
    QTest::newRow("language seen from libexec") << libexec << language << data + "/Language.txt" << true;
    QTest::newRow("language missing") << bin << language << "" << false;
    QTest::newRow("page runtime installed") << bin << runtime << data + "/web/quillmoorpage.html" << true;
    QTest::newRow("picture beside") << bin << picture << "bin/OI0110.bmp" << true;
    QTest::newRow("picture installed") << bin << picture << data + "/pictures/OI0110.bmp" << true;
    QTest::newRow("picture seen from libexec") << libexec << picture << data + "/pictures/OI0110.bmp" << true;
    QTest::newRow("picture outside its folder") << bin << picture << data + "/OI0110.bmp" << false;
    QTest::newRow("picture missing") << bin << picture << "" << false;
}

void TestShippedFiles::found()
{
    QFETCH(QString, program);
    QFETCH(QString, name);
    QFETCH(QString, lying);
    QFETCH(bool, found);
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(program));
    if (!lying.isEmpty()) {
        QVERIFY(root.mkpath(QFileInfo(lying).path()));
        QVERIFY(TestFiles::write(root.filePath(lying), "shipped"));
    }
    ScriptedPlatform platform;
    platform.folder = root.filePath(program);
    const ShippedFiles files(platform);
    const QString path = name.endsWith(QLatin1String(".bmp")) ? files.picture(name) : files.file(name);
    QCOMPARE(path.isEmpty(), !found);
    if (found)
        QCOMPARE(QFileInfo(path).canonicalFilePath(), QFileInfo(root.filePath(lying)).canonicalFilePath());
}

void TestShippedFiles::programsLieTogether()
{
    ScriptedPlatform platform;
    platform.folder = QStringLiteral("/opt/quillmoor/bin");
    QCOMPARE(ShippedFiles(platform).program(QStringLiteral("quillmoorplayer")),
             QStringLiteral("/opt/quillmoor/bin/quillmoorplayer"));
}

QTEST_MAIN(TestShippedFiles)
#include "tst_shippedfiles.moc"
