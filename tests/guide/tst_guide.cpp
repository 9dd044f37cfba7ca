// SPDX-License-Identifier: MIT
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// The guide as its script writes it from the built programs: each page is
// there and whole, each picture and page it names is there, each picture is
// one, and no picture is taken that no page shows.
class TestGuide : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void page_data();
    void page();
    void everyPictureIsShown();

private:
    QTemporaryDir dir;
    QString guide;
    QSet<QString> shown; // pictures named by the pages, relative to the guide
};

void TestGuide::initTestCase()
{
    QVERIFY(dir.isValid());
    guide = dir.filePath(QStringLiteral("guide"));
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(QUILLMOOR_MAKE_GUIDE),
                 {QStringLiteral(QUILLMOOR_BIN_DIR), QStringLiteral(QUILLMOOR_GUIDESHOTS), guide});
    QVERIFY(script.waitForFinished(240000));
    const QByteArray said = script.readAll();
    QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0, said.constData());
}

void TestGuide::page_data()
{
    QTest::addColumn<QString>("name");
    // The start page and what the studio's "Guide" opens, then every page it leads to.
    for (const char *name : {"index", "first-game", "checking", "publishing", "map", "level-file", "language-file"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestGuide::page()
{
    QFETCH(QString, name);
    QFile file(QDir(guide).filePath(name + QStringLiteral(".html")));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QLatin1String("<h1")));
    QVERIFY(html.trimmed().endsWith(QLatin1String("</html>")));

    static const QRegularExpression named(QStringLiteral("(?:src|href)=\"([^\"#:]+)(?:#[^\"]*)?\""));
    for (auto match = named.globalMatch(html); match.hasNext();) {
        const QString target = match.next().captured(1);
        const QString path = QDir(guide).filePath(target);
        QVERIFY2(QFileInfo::exists(path), qPrintable(QStringLiteral("%1 names %2, which is missing").arg(name, target)));
        if (target.endsWith(QLatin1String(".png"))) {
            const QImage picture(path);
            QVERIFY2(!picture.isNull() && picture.width() >= 16 && picture.height() >= 16, qPrintable(target));
            shown.insert(QDir::cleanPath(target));
        }
    }
}

void TestGuide::everyPictureIsShown()
{
    QStringList unshown;
    for (QDirIterator it(guide, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString picture = QDir(guide).relativeFilePath(it.next());
        if (!shown.contains(picture))
            unshown.append(picture);
    }
    QVERIFY2(unshown.isEmpty(), qPrintable(unshown.join(u' ')));
}

QTEST_GUILESS_MAIN(TestGuide)
#include "tst_guide.moc"
