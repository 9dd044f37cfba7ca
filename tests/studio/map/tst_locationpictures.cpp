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

QString fileName(const LocationPicture &picture)
{
    return QString::fromStdString(picture.fileName());
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
    void listNamesEveryPicture();
};

void TestLocationPictures::showsWhatItsNameSays_data()
{
    QTest::addColumn<int>("index");
    const std::vector<LocationPicture> all = LocationPicture::all();
    for (int i = 0; i < int(all.size()); ++i)
        QTest::newRow(qPrintable(fileName(all[i]))) << i;
}

void TestLocationPictures::showsWhatItsNameSays()
{
    QFETCH(int, index);
    const LocationPicture shown = LocationPicture::all().at(index);
    const QString name = fileName(shown);
    const QImage picture(QDir(QStringLiteral(QUILLMOOR_BIN_DIR)).filePath(name));
    QVERIFY2(!picture.isNull(), qPrintable(name));
    QCOMPARE(picture.size(), QSize(LocationArtist::Width, LocationArtist::Height));

    QCOMPARE(isFloor(picture, NorthEdge), shown.exits[int(Direction::North)]);
    QCOMPARE(isFloor(picture, SouthEdge), shown.exits[int(Direction::South)]);
    QCOMPARE(isFloor(picture, EastEdge), shown.exits[int(Direction::East)]);
    QCOMPARE(isFloor(picture, WestEdge), shown.exits[int(Direction::West)]);

    using Kind = LocationPicture::Kind;
    const int green = roomPixels(picture, [](int r, int g, int b) { return g > r + 50 && g > b + 50; });
    const int red = roomPixels(picture, [](int r, int g, int) { return r > g + 80; });
    const int gem = roomPixels(picture, [](int r, int, int b) { return b > 200 && r < 150; });
    QCOMPARE(green > 100, shown.kind == Kind::Start);
    QCOMPARE(red > 100, shown.kind == Kind::End);
    QCOMPARE(gem > 10, shown.items);
}

void TestLocationPictures::allDiffer()
{
    QSet<QString> names;
    QSet<QByteArray> seen;
    for (const LocationPicture &picture : LocationPicture::all()) {
        names.insert(fileName(picture));
        QFile file(QDir(QStringLiteral(QUILLMOOR_BIN_DIR)).filePath(fileName(picture)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        seen.insert(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    QCOMPARE(names.size(), 96);
    QCOMPARE(seen.size(), 96);
}

// The build and the install take the set of pictures from the list drawn with them.
void TestLocationPictures::listNamesEveryPicture()
{
    QFile list(QStringLiteral(QUILLMOOR_PICTURE_LIST));
    QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList listed = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringList drawn;
    for (const LocationPicture &picture : LocationPicture::all())
        drawn << fileName(picture);
    QCOMPARE(listed, drawn);
}

QTEST_APPLESS_MAIN(TestLocationPictures)
#include "tst_locationpictures.moc"
