// SPDX-License-Identifier: MIT
#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// What a desktop reads: the two menu entries, checked by
// desktop-file-validate, and the level file type, matched by xdg-mime against
// a database built here from the system's base types and ours alone.
class TestDesktopEntries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void validate_data();
    void validate();
    void entry_data();
    void entry();
    void fileType_data();
    void fileType();
    void doubleClickOpensThePlayer();

private:
    ToolRun xdgMime(const QStringList &arguments) const;

    QTemporaryDir folder;
    QString validator;
};

namespace {

const QString Source = QStringLiteral(QUILLMOOR_SOURCE_DIR "/desktop/");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void TestDesktopEntries::initTestCase()
{
    QString missing;
    validator = ToolRun::find("desktop-file-validate", &missing);
    const QString mimeDatabase = ToolRun::find("update-mime-database", &missing);
    const QString desktopDatabase = ToolRun::find("update-desktop-database", &missing);
    ToolRun::find("xdg-mime", &missing);
    // Without a desktop running, xdg-mime asks the shared MIME database
    // through this tool (else it falls back to file(1), which knows no
    // database).
    ToolRun::find("mimetype", &missing);
    if (!missing.isEmpty())
        QFAIL(qPrintable(missing));

    // The system's base types (text/plain and the rest) in the system data
    // folder; ours in the user's, as a desktop installs them.
    const QDir root(folder.path());
    QVERIFY(root.mkpath("system/mime/packages") && root.mkpath("home/mime/packages")
            && root.mkpath("home/applications") && root.mkpath("config"));
    QVERIFY(QFile::copy("/usr/share/mime/packages/freedesktop.org.xml",
                        root.filePath("system/mime/packages/freedesktop.org.xml")));
    QVERIFY(QFile::copy(Source + "quillmoor.xml", root.filePath("home/mime/packages/quillmoor.xml")));
    for (const char *entry : {"quillmoorplayer.desktop", "quillmoorstudio.desktop"})
        QVERIFY(QFile::copy(Source + entry, root.filePath(QStringLiteral("home/applications/") + entry)));
    for (const char *mime : {"system/mime", "home/mime"}) {
        const ToolRun update = ToolRun::of(mimeDatabase, {root.filePath(mime)});
        QVERIFY2(update.exitCode == 0, update.said());
    }
    const ToolRun update = ToolRun::of(desktopDatabase, {root.filePath("home/applications")});
    QVERIFY2(update.exitCode == 0, update.said());
}

ToolRun TestDesktopEntries::xdgMime(const QStringList &arguments) const
{
    const QDir root(folder.path());
    // No desktop session: xdg-mime then reads the databases named here only.
    return ToolRun::of("xdg-mime", arguments,
                       {{"XDG_DATA_HOME", root.filePath("home")},
                        {"XDG_DATA_DIRS", root.filePath("system")},
                        {"XDG_CONFIG_HOME", root.filePath("config")},
                        {"XDG_CONFIG_DIRS", root.filePath("config")},
                        {"XDG_CURRENT_DESKTOP", ""},
                        {"DESKTOP_SESSION", ""},
                        {"KDE_FULL_SESSION", ""},
                        {"GNOME_DESKTOP_SESSION_ID", ""},
                        {"XDG_SESSION_DESKTOP", ""}});
}

void TestDesktopEntries::validate_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("the player") << "quillmoorplayer.desktop";
    QTest::newRow("the studio") << "quillmoorstudio.desktop";
}

void TestDesktopEntries::validate()
{
    QFETCH(QString, entry);
    const ToolRun check = ToolRun::of(validator, {Source + entry});
    QVERIFY2(check.exitCode == 0, check.said());
    // Not even a hint.
    QCOMPARE(check.out + check.err, QByteArray());
}

void TestDesktopEntries::entry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("lines"); // each one line of the entry

    const QString type = "MimeType=application/x-quillmoor-level;";
    QTest::newRow("the player") << "quillmoorplayer.desktop"
                                << QStringList{"Exec=quillmoorplayer %f", "Icon=quillmoorplayer", "Name=Quillmoor Player",
                                               "Terminal=false", type};
    QTest::newRow("the studio") << "quillmoorstudio.desktop"
                                << QStringList{"Exec=studio %f", "Icon=quillmoorstudio", "Name=Quillmoor Studio",
                                               "Terminal=false", type};
}

void TestDesktopEntries::entry()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, lines);
    const QStringList read = QString::fromUtf8(readFile(Source + entry)).split('\n');
    for (const QString &line : lines)
        QVERIFY2(read.contains(line), qPrintable(line));
}

void TestDesktopEntries::fileType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("type");

    const QByteArray level = readFile(QUILLMOOR_SOURCE_DIR "/data/QUILLMOOR.qw");
    const QString ours = "application/x-quillmoor-level";
    QTest::newRow("a level") << "QUILLMOOR.qw" << level << ours;
    QTest::newRow("the extension in capitals") << "LEVEL.QW" << level << ours;
    QTest::newRow("a level without the extension") << "adventure" << level << ours;
    QTest::newRow("the map line alone") << "begun" << QByteArray("[MAP]\n") << ours;
    QTest::newRow("the extension on other text") << "notes.qw" << QByteArray("Notes on the moor.\n") << ours;
    QTest::newRow("no map line first") << "letter" << QByteArray("Dear reader,\n[MAP]\n") << "text/plain";
    QTest::newRow("another section first") << "items" << QByteArray("[ITEMS]\r\nA key\r\n") << "text/plain";
}

void TestDesktopEntries::fileType()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, type);
    const QString path = QDir(folder.path()).filePath(name);
    QVERIFY(writeFile(path, content));
    const ToolRun query = xdgMime({"query", "filetype", path});
    QVERIFY2(query.exitCode == 0, query.said());
    QCOMPARE(QString::fromUtf8(query.out.trimmed()), type);
}

// With both entries naming the type, the player's comes first: a file
// manager opens a level in the player and offers the studio beside it.
void TestDesktopEntries::doubleClickOpensThePlayer()
{
    const ToolRun query = xdgMime({"query", "default", "application/x-quillmoor-level"});
    QVERIFY2(query.exitCode == 0, query.said());
    QCOMPARE(query.out.trimmed(), QByteArray("quillmoorplayer.desktop"));
    const QByteArray cache = readFile(QDir(folder.path()).filePath("home/applications/mimeinfo.cache"));
    QVERIFY(cache.contains("application/x-quillmoor-level=quillmoorplayer.desktop;quillmoorstudio.desktop;"));
}

QTEST_MAIN(TestDesktopEntries)
#include "tst_desktopentries.moc"
