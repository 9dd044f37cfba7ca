// SPDX-License-Identifier: MIT
#include "locationartist.h"

#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>

namespace {

// Where each exit's corridor meets the edge of the picture.
const QPoint NorthEdge(33, 1);
const QPoint SouthEdge(33, 49);
const QPoint EastEdge(65, 25);
const QPoint WestEdge(1, 25);

bool isFloor(const QImage &picture, QPoint at)
{
    return picture.pixelColor(at).lightness() > 100;
}

// Pixels of the room whose colour matches test.
template<typename Test>
int roomPixels(const QImage &picture, Test test)
{
    int count = 0;
    for (int y = 14; y < 38; ++y) {
        for (int x = 18; x < 49; ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (test(c.red(), c.green(), c.blue()))
                ++count;
        }
    }
    return count;
}

QStringList allNames()
{
    QStringList names;
    for (const char *prefix : {"", "OI", "AN", "AI", "EN", "EI"}) {
        for (int exits = 0; exits < 16; ++exits) {
            QString bits;
            for (int bit = 3; bit >= 0; --bit)
                bits += (exits >> bit) & 1 ? u'1' : u'0';
            names << QLatin1String(prefix) + bits + QStringLiteral(".bmp");
        }
    }
    return names;
}

} // namespace

// The pictures the build drew beside the programs: each one must show what
// its name says, at the size of the map's buttons.
class TestLocationPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsWhatItsNameSays_data();
    void showsWhatItsNameSays();
    void allDiffer();
};

void TestLocationPictures::showsWhatItsNameSays_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : allNames())
        QTest::newRow(qPrintable(name)) << name;
}

void TestLocationPictures::showsWhatItsNameSays()
{
    QFETCH(QString, name);
    const QImage picture(QDir(QStringLiteral(QUILLMOOR_BIN_DIR)).filePath(name));
    QVERIFY2(!picture.isNull(), qPrintable(name));
    QCOMPARE(picture.size(), QSize(LocationArtist::Width, LocationArtist::Height));

    const QString exits = name.right(8).left(4);
    QCOMPARE(isFloor(picture, NorthEdge), exits.at(0) == u'1');
    QCOMPARE(isFloor(picture, SouthEdge), exits.at(1) == u'1');
    QCOMPARE(isFloor(picture, EastEdge), exits.at(2) == u'1');
    QCOMPARE(isFloor(picture, WestEdge), exits.at(3) == u'1');

    const QChar type = name.size() == 10 ? name.at(0) : u'O';
    const bool items = name.size() == 10 && name.at(1) == u'I';
    const int green = roomPixels(picture, [](int r, int g, int b) { return g > r + 50 && g > b + 50; });
    const int red = roomPixels(picture, [](int r, int g, int) { return r > g + 80; });
    const int gem = roomPixels(picture, [](int r, int, int b) { return b > 200 && r < 150; });
    QCOMPARE(green > 100, type == u'A');
    QCOMPARE(red > 100, type == u'E');
    QCOMPARE(gem > 10, items);
}

void TestLocationPictures::allDiffer()
{
    QSet<QByteArray> seen;
    for (const QString &name : allNames()) {
        QFile file(QDir(QStringLiteral(QUILLMOOR_BIN_DIR)).filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        seen.insert(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    QCOMPARE(seen.size(), 96);
}

QTEST_APPLESS_MAIN(TestLocationPictures)
#include "tst_locationpictures.moc"
