// SPDX-License-Identifier: MIT
#include "gamepage.h"

#include <QTest>

// The game's title filled into a page: shown as it is, whatever it holds,
// and never read as markup or as a marker.
class TestGamePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void title_data();
    void title();
};

void TestGamePage::title_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("html");

    QTest::newRow("a name") << QByteArray("QUILLMOOR") << QByteArray("QUILLMOOR");
    QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9 \xe2\x80\x93 Moor") << QByteArray("Caf\xc3\xa9 \xe2\x80\x93 Moor");
    QTest::newRow("markup") << QByteArray("</title><script>alert(1)</script>")
                            << QByteArray("&lt;/title&gt;&lt;script&gt;alert(1)&lt;/script&gt;");
    QTest::newRow("quotes and ampersands") << QByteArray("R&D \"a\" 'b' &amp;")
                                           << QByteArray("R&amp;D &quot;a&quot; &#39;b&#39; &amp;amp;");
    QTest::newRow("bytes that are no UTF-8") << QByteArray("a\xff" "b") << QByteArray("a\xef\xbf\xbd" "b");
    QTest::newRow("control characters") << QByteArray("a\tb\nc\x7f") << QByteArray("a b c ");
    QTest::newRow("the markers") << QByteArray("@QUILLMOOR_GAME@ @QUILLMOOR_TITLE@")
                                 << QByteArray("@QUILLMOOR_GAME@ @QUILLMOOR_TITLE@");
    QTest::newRow("nothing") << QByteArray() << QByteArray();
}

void TestGamePage::title()
{
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, html);
    GamePage::Game game;
    game.title = title.toStdString();
    // A name in the game's data that holds the title's marker stays as it is.
    game.level = "@QUILLMOOR_TITLE@.qw";
    const auto page = GamePage::fill("<title>@QUILLMOOR_TITLE@</title><h1>@QUILLMOOR_TITLE@</h1><script>"
                                     "@QUILLMOOR_GAME@</script>",
                                     game);
    QVERIFY(page);
    QCOMPARE(QByteArray::fromStdString(*page),
             "<title>" + html + "</title><h1>" + html + "</h1><script>" + QByteArray::fromStdString(GamePage::json(game))
                 + "</script>");
}

QTEST_MAIN(TestGamePage)
#include "tst_gamepage.moc"
