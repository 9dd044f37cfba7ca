// SPDX-License-Identifier: MIT
#include "buildinfo.h"
#include "toolrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The Debian package that "cpack -G DEB" builds: its control fields, the
// dependencies dpkg-shlibdeps found, its files, which are exactly what
// "cmake --install" installs, under /usr, and what Debian's and AppStream's
// own checkers and man say of them.
class TestPackage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fields_data();
    void fields();
    void dependencies_data();
    void dependencies();
    void files();
    void modes_data();
    void modes();
    void checkers_data();
    void checkers();
    void manuals_data();
    void manuals();
    void releases_data();
    void releases();

private:
    QString field(const QString &name) const;

    QTemporaryDir folder;
    QString deb;
    QString unpacked; // the package's files, as dpkg-deb -x lays them out
    // path (without the leading ".") -> "mode owner"
    QMap<QString, QString> contents;
};

void TestPackage::initTestCase()
{
    QString missing;
    const QString dpkg = ToolRun::find("dpkg", &missing);
    ToolRun::find("dpkg-shlibdeps", &missing);
    ToolRun::find("lintian", &missing);
    ToolRun::find("appstreamcli", &missing);
    ToolRun::find("man", &missing);
    if (!missing.isEmpty())
        QFAIL(qPrintable(missing));
    const QString architecture = QString::fromLatin1(ToolRun::of(dpkg, {"--print-architecture"}).out.trimmed());

    const ToolRun cpack = ToolRun::of(QStringLiteral(QUILLMOOR_CPACK),
                                      {"-G", "DEB", "--config", QUILLMOOR_BUILD_DIR "/CPackConfig.cmake", "-B",
                                       folder.path()});
    QVERIFY2(cpack.exitCode == 0, cpack.said());
    deb = folder.filePath(QStringLiteral("quillmoor_%1_%2.deb").arg(QUILLMOOR_VERSION, architecture));
    QVERIFY2(QFileInfo::exists(deb), qPrintable(deb + " was not written:\n" + cpack.out));

    const ToolRun listing = ToolRun::of("dpkg-deb", {"--contents", deb});
    QVERIFY2(listing.exitCode == 0, listing.said());
    // -rwxr-xr-x root/root    182976 2024-01-01 12:00 ./usr/bin/quillmoorplayer
    static const QRegularExpression line(QStringLiteral("^(\\S+) (\\S+) +\\d+ \\S+ \\S+ \\.(/\\S*)$"));
    for (const QString &entry : QString::fromUtf8(listing.out).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(entry);
        QVERIFY2(match.hasMatch(), qPrintable(entry));
        contents.insert(match.captured(3), match.captured(1) + ' ' + match.captured(2));
    }

    unpacked = folder.filePath(QStringLiteral("unpacked"));
    const ToolRun unpack = ToolRun::of("dpkg-deb", {"-x", deb, unpacked});
    QVERIFY2(unpack.exitCode == 0, unpack.said());
}

QString TestPackage::field(const QString &name) const
{
    return QString::fromUtf8(ToolRun::of("dpkg-deb", {"--field", deb, name}).out.trimmed());
}

void TestPackage::fields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value"); // a pattern the whole value matches

    QTest::newRow("Package") << "Package" << "quillmoor";
    QTest::newRow("Version") << "Version" << QRegularExpression::escape(QUILLMOOR_VERSION);
    QTest::newRow("Section") << "Section" << "devel";
    QTest::newRow("Priority") << "Priority" << "optional";
    QTest::newRow("Maintainer") << "Maintainer" << ".+ <.+@.+>";
    QTest::newRow("Description") << "Description" << "authoring kit for text puzzle games[^\\n]*\\n .+";
    QTest::newRow("Installed-Size") << "Installed-Size" << "\\d+";
}

void TestPackage::fields()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    const QString found = field(name);
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(value),
                                     QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(pattern.match(found).hasMatch(), qPrintable(name + ": " + found));
}

void TestPackage::dependencies_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<bool>("versioned"); // found by dpkg-shlibdeps, with the version the programs need

    QTest::newRow("C library") << "libc6" << true;
    QTest::newRow("C++ library") << "libstdc++6" << true;
    QTest::newRow("Qt Core") << "libqt6core6" << true;
    QTest::newRow("Qt Gui") << "libqt6gui6" << true;
    QTest::newRow("Qt Widgets") << "libqt6widgets6" << true;
    QTest::newRow("the window system's plugins") << "qt6-qpa-plugins" << false;
}

void TestPackage::dependencies()
{
    QFETCH(QString, package);
    QFETCH(bool, versioned);
    const QStringList depends = field("Depends").split(QStringLiteral(", "));
    const auto entry = std::find_if(depends.begin(), depends.end(), [&](const QString &dependency) {
        return dependency == package || dependency.startsWith(package + ' ');
    });
    QVERIFY2(entry != depends.end(), qPrintable(depends.join(", ")));
    QCOMPARE(entry->contains(QStringLiteral("(>= ")), versioned);
}

// The package carries what an install puts under a prefix, and nothing else.
void TestPackage::files()
{
    QTemporaryDir prefix;
    const ToolRun install = ToolRun::of(QStringLiteral(QUILLMOOR_CMAKE),
                                        {"--install", QUILLMOOR_BUILD_DIR, "--prefix", prefix.path()});
    QVERIFY2(install.exitCode == 0, install.said());
    QStringList installed;
    QDirIterator walk(prefix.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext())
        installed += "/usr/" + QDir(prefix.path()).relativeFilePath(walk.next());
    installed.sort();

    QStringList packaged;
    for (auto entry = contents.cbegin(); entry != contents.cend(); ++entry) {
        if (!entry.value().startsWith('d'))
            packaged += entry.key();
        QVERIFY2(entry.key().startsWith("/usr/"), qPrintable(entry.key()));
    }
    packaged.sort();
    QCOMPARE(packaged, installed);
}

void TestPackage::modes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("mode");

    QTest::newRow("the player") << "/usr/bin/quillmoorplayer" << "-rwxr-xr-x root/root";
    QTest::newRow("the studio") << "/usr/bin/studio" << "-rwxr-xr-x root/root";
    QTest::newRow("the publisher") << "/usr/bin/quillmoorpublish" << "-rwxr-xr-x root/root";
    QTest::newRow("the checker") << "/usr/bin/quillmoorcheck" << "-rwxr-xr-x root/root";
    QTest::newRow("the player's window") << "/usr/libexec/quillmoor/quillmoorplayer-window" << "-rwxr-xr-x root/root";
    QTest::newRow("the bundled level") << "/usr/share/quillmoor/QUILLMOOR.qw" << "-rw-r--r-- root/root";
    QTest::newRow("the player's entry") << "/usr/share/applications/quillmoorplayer.desktop" << "-rw-r--r-- root/root";
    QTest::newRow("the studio's entry") << "/usr/share/applications/quillmoorstudio.desktop" << "-rw-r--r-- root/root";
    QTest::newRow("the level type") << "/usr/share/mime/packages/quillmoor.xml" << "-rw-r--r-- root/root";
    QTest::newRow("an icon") << "/usr/share/icons/hicolor/48x48/apps/quillmoorplayer.png" << "-rw-r--r-- root/root";
    QTest::newRow("the scalable icon") << "/usr/share/icons/hicolor/scalable/apps/quillmoorstudio.svg"
                                       << "-rw-r--r-- root/root";
    QTest::newRow("the copyright") << "/usr/share/doc/quillmoor/copyright" << "-rw-r--r-- root/root";
    QTest::newRow("the changelog") << "/usr/share/doc/quillmoor/changelog.gz" << "-rw-r--r-- root/root";
    QTest::newRow("the lintian overrides") << "/usr/share/lintian/overrides/quillmoor" << "-rw-r--r-- root/root";
    for (const char *program : {"quillmoorplayer", "studio", "quillmoorcheck", "quillmoorpublish"})
        QTest::addRow("the manual of %s", program)
            << QStringLiteral("/usr/share/man/man1/%1.1.gz").arg(program) << "-rw-r--r-- root/root";
    for (const char *program : {"player", "studio"})
        QTest::addRow("the %s's metainfo", program)
            << QStringLiteral("/usr/share/metainfo/io.github.quillmoor.%1.metainfo.xml").arg(program)
            << "-rw-r--r-- root/root";
    QTest::newRow("the data folder") << "/usr/share/quillmoor/" << "drwxr-xr-x root/root";
    QTest::newRow("the guide's example game") << "/usr/share/quillmoor/example/LIGHTHOUSE.qw" << "-rw-r--r-- root/root";
    // The author's guide, where this build wrote one.
    if (QFileInfo::exists(QStringLiteral(QUILLMOOR_BUILD_DIR "/bin/guide/index.html"))) {
        QTest::newRow("the guide") << "/usr/share/doc/quillmoor/guide/index.html" << "-rw-r--r-- root/root";
        QTest::newRow("a picture of the guide") << "/usr/share/doc/quillmoor/guide/pictures/map-lighthouse.png"
                                                << "-rw-r--r-- root/root";
    }
}

void TestPackage::modes()
{
    QFETCH(QString, path);
    QFETCH(QString, mode);
    QVERIFY2(contents.contains(path), qPrintable(path + " is not in the package"));
    QCOMPARE(contents.value(path), mode);
}

void TestPackage::checkers_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments"); // {deb}: the package; {files}: its unpacked files

    const QString metainfo = QStringLiteral("{files}/usr/share/metainfo/io.github.quillmoor.%1.metainfo.xml");
    QTest::newRow("lintian") << "lintian" << QStringList{"--fail-on", "error,warning", "{deb}"};
    QTest::newRow("AppStream, the player") << "appstreamcli"
                                           << QStringList{"validate", "--no-net", metainfo.arg("player")};
    QTest::newRow("AppStream, the studio") << "appstreamcli"
                                           << QStringList{"validate", "--no-net", metainfo.arg("studio")};
    // Also matches each launchable with its menu entry.
    QTest::newRow("AppStream, all files") << "appstreamcli" << QStringList{"validate-tree", "--no-net", "{files}"};
}

// No error and no warning: the package is what a distribution would accept.
void TestPackage::checkers()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    arguments.replaceInStrings(QStringLiteral("{deb}"), deb);
    arguments.replaceInStrings(QStringLiteral("{files}"), unpacked);
    const ToolRun run = ToolRun::of(tool, arguments);
    QVERIFY2(run.exitCode == 0, run.said());
    static const QRegularExpression complaint(QStringLiteral("^[EW]: "), QRegularExpression::MultilineOption);
    QVERIFY2(!complaint.match(QString::fromUtf8(run.out + run.err)).hasMatch(), run.said());
}

void TestPackage::manuals_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option"); // one its --help lists

    QTest::newRow("the player") << "quillmoorplayer" << "--walkthrough";
    QTest::newRow("the studio") << "studio" << "--version";
    QTest::newRow("the checker") << "quillmoorcheck" << "--max-states";
    QTest::newRow("the publisher") << "quillmoorpublish" << "--output";
}

// Each program's manual page reads as man shows it: its name line, its
// options from its own --help, its version.
void TestPackage::manuals()
{
    QFETCH(QString, program);
    QFETCH(QString, option);
    const QString page = unpacked + "/usr/share/man/man1/" + program + ".1.gz";
    const ToolRun man = ToolRun::of("man", {"--warnings", "-l", page}, {{"MANWIDTH", "80"}, {"LC_ALL", "C.UTF-8"}});
    QVERIFY2(man.exitCode == 0 && man.err.isEmpty(), man.said());
    const QString text = QString::fromUtf8(man.out);
    const QRegularExpression name("\nNAME\n +" + program + " +- ");
    QVERIFY2(name.match(text).hasMatch(), qPrintable(text));
    QVERIFY2(text.contains(option), qPrintable(text));
    QVERIFY2(text.contains(program + ' ' + QUILLMOOR_VERSION), qPrintable(text));
}

void TestPackage::releases_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("start"); // what every entry begins with
    QTest::addColumn<QString>("newest");

    const QString version = QStringLiteral(QUILLMOOR_VERSION);
    QTest::newRow("the changelog") << "/usr/share/doc/quillmoor/changelog.gz" << "quillmoor ("
                                   << "quillmoor (" + version + ") unstable; urgency=medium\n";
    for (const char *program : {"player", "studio"})
        QTest::addRow("the %s's metainfo", program)
            << QStringLiteral("/usr/share/metainfo/io.github.quillmoor.%1.metainfo.xml").arg(program) << "<release "
            << "<release version=\"" + version + "\" date=\"";
}

// The first release that the package and software centres name is this version.
void TestPackage::releases()
{
    QFETCH(QString, path);
    QFETCH(QString, start);
    QFETCH(QString, newest);
    const ToolRun read = ToolRun::of("gzip", {"--decompress", "--stdout", "--force", unpacked + path});
    QVERIFY2(read.exitCode == 0, read.said());
    const QString text = QString::fromUtf8(read.out);
    QVERIFY2(text.contains(newest), qPrintable(text));
    QCOMPARE(text.indexOf(newest), text.indexOf(start));
}

QTEST_MAIN(TestPackage)
#include "tst_package.moc"
