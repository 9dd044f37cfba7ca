// SPDX-License-Identifier: MIT
#include "locationbutton.h"
#include "locationsummary.h"
#include "mapwindow.h"
#include "qtext.h"
#include "scriptedplatform.h"
#include "testfiles.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

struct Studio
{
    Studio()
        : map(platform)
    {
        platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    }
    LocationButton *location(const QString &name)
    {
        const int n = 9 * (name.at(0).digitValue() - 1) + (name.at(1).unicode() - u'A') + 1;
        return map.findChild<LocationButton *>(QStringLiteral("Command%1").arg(n));
    }
    // Shown and active, so the keyboard reaches it.
    bool showActive()
    {
        map.show();
        map.activateWindow();
        return QTest::qWaitForWindowActive(&map);
    }
    ScriptedPlatform platform;
    MapWindow map;
};

// What a screen reader is given for a widget.
QString spoken(QWidget *widget, QAccessible::Text text)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(text) : QStringLiteral("(no interface)");
}

} // namespace

class TestMapAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void toolTips_data();
    void toolTips();
    void levelWithEveryKind();
    void namesFollowTheDocument();
    void arrowKeys_data();
    void arrowKeys();
    void enterAndSpaceOpen_data();
    void enterAndSpaceOpen();
    void publishComesLastInTabOrder();
};

void TestMapAccess::names_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<QString>("name");

    QTest::newRow("not used") << "" << false << "Location 5B, not used";
    QTest::newRow("blank, not used") << "   " << false << "Location 5B, not used";
    QTest::newRow("marked, nothing in it") << "" << true << "Location 5B, in use, empty";
    QTest::newRow("ordinary, no exits") << "Hall.|" << true << "Location 5B, no exits";
    QTest::newRow("one exit") << "Hall.|PATH S|" << true << "Location 5B, exit south";
    QTest::newRow("two exits") << "Hall.|PATH N|PATH E|" << true << "Location 5B, exits north and east";
    QTest::newRow("three exits") << "Hall.|PATH N|PATH S|PATH W|" << true << "Location 5B, exits north, south and west";
    QTest::newRow("four exits") << "Hall.|PATH N|PATH S|PATH E|PATH W|" << true
                                << "Location 5B, exits north, south, east and west";
    QTest::newRow("start, exits, items") << "Cell.|PATH N|PATH E|ITEM A|START|" << true
                                         << "Location 5B, start, exits north and east, items";
    QTest::newRow("end") << "Won.|PATH W|ENDGAME|" << true << "Location 5B, end of game, exit west";
    QTest::newRow("load level") << "Down.|LOADLEVEL cave.qw COMMENT=You fall.|" << true
                                << "Location 5B, loads another level, no exits";
    QTest::newRow("start and end: end wins") << "Odd.|START|ENDGAME|" << true << "Location 5B, end of game, no exits";
    QTest::newRow("locked exit counts") << "Gate.|PATH S REQUIRES=B Shut.|" << true << "Location 5B, exit south";
    QTest::newRow("items, ordinary") << "Store.|ITEM C|ITEM D|" << true << "Location 5B, no exits, items";
    // As the picture shows it: an item tag standing first shows no items.
    QTest::newRow("item tag first") << "ITEM A|PATH N|" << true << "Location 5B, exit north";
    // The record tells what the level holds, whatever the mark says.
    QTest::newRow("start not marked in use") << "|PATH E|START|" << false << "Location 5B, start, exit east";
    QTest::newRow("read from a file") << "Hall.|PATH N||" << true << "Location 5B, exit north";
}

void TestMapAccess::names()
{
    QFETCH(QString, record);
    QFETCH(bool, inUse);
    QFETCH(QString, name);
    QCOMPARE(LocationSummary::name({5, 2}, LocationRecord(toText(record)), inUse), name);
}

void TestMapAccess::toolTips_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tip");

    QTest::newRow("no record") << "" << "" << "Location 5B";
    QTest::newRow("empty narrative") << "|PATH N|" << "" << "Location 5B";
    QTest::newRow("blank narrative") << "   |PATH N|" << "" << "Location 5B";
    QTest::newRow("one line") << "Dark hall.|PATH N|" << "Dark hall." << "Dark hall.";
    QTest::newRow("typed lines") << "Dark hall.\r\nIt is cold.|" << "Dark hall." << "Dark hall.";
    QTest::newRow("saved lines") << "Dark hall.~It is cold.|" << "Dark hall." << "Dark hall.";
    QTest::newRow("first line empty") << "\r\nIt is cold.|" << "" << "Location 5B";
    QTest::newRow("spaces around") << "  Dark hall.  |" << "Dark hall." << "Dark hall.";
    // The area editor shows the default narrative for a tag in its place.
    QTest::newRow("tag first") << "PATH N|ITEM A|" << "In this area you see nothing unusual."
                               << "In this area you see nothing unusual.";
    // Shown as typed, not as markup.
    QTest::newRow("markup") << "<b>Bold</b> & co.|" << "<b>Bold</b> & co."
                            << Qt::convertFromPlainText("<b>Bold</b> & co.", Qt::WhiteSpaceNormal);
    const QString longLine = QString(120, u'a');
    QTest::newRow("long line wraps") << longLine + "|" << longLine
                                     << Qt::convertFromPlainText(longLine, Qt::WhiteSpaceNormal);
    const QString huge = QString(5000, u'b');
    const QString cut = QString(300, u'b') + QChar(0x2026);
    QTest::newRow("huge line is cut") << huge + "|" << cut << Qt::convertFromPlainText(cut, Qt::WhiteSpaceNormal);
}

void TestMapAccess::toolTips()
{
    QFETCH(QString, record);
    QFETCH(QString, line);
    QFETCH(QString, tip);
    const LocationRecord location(toText(record));
    QCOMPARE(LocationSummary::narrativeLine(location), line);
    QCOMPARE(LocationSummary::toolTip({5, 2}, location), tip);
}

// A level with a location of every kind, read as the screen reader reads it.
void TestMapAccess::levelWithEveryKind()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("kinds.qw");
    QVERIFY(TestFiles::write(path, TestFiles::level({
        "[ITEMS]", "A lamp", "B key", "",
        "[LOCATION 1A]", "A cold cell.~The door creaks.", "PATH E", "ITEM A", "START", "",
        "[LOCATION 1B]", "A corridor.", "PATH S REQUIRES=B Locked.", "PATH W", "ITEM B", "",
        "[LOCATION 2B]", "In this area you see nothing unusual.", "PATH N", "PATH E", "ENDGAME", "",
        "[LOCATION 2C]", "A pit.", "PATH W", "LOADLEVEL cave.qw COMMENT=You fall.", "",
        "[LOCATION 3C]", "",
        "[COMBOS]", ""})));
    Studio studio;
    QVERIFY(studio.map.document().loadgame(path).isEmpty());

    const QList<std::array<QString, 3>> expected{
        {"1A", "Location 1A, start, exit east, items", "A cold cell."},
        {"1B", "Location 1B, exits south and west, items", "A corridor."},
        {"2B", "Location 2B, end of game, exits north and east", "In this area you see nothing unusual."},
        {"2C", "Location 2C, loads another level, exit west", "A pit."},
        // A block of nothing but its header is written back with the default
        // narrative: it is part of the level.
        {"3C", "Location 3C, no exits", ""},
        {"9I", "Location 9I, not used", ""},
    };
    for (const auto &[at, name, narrative] : expected) {
        LocationButton *button = studio.location(at);
        QCOMPARE(button->accessibleName(), name);
        QCOMPARE(spoken(button, QAccessible::Name), name);
        QCOMPARE(button->toolTip(), narrative.isEmpty() ? "Location " + at : narrative);
        if (!narrative.isEmpty())
            QCOMPARE(spoken(button, QAccessible::Description), narrative);
        // The buttons still show no text.
        QVERIFY(button->text().isEmpty());
    }
}

void TestMapAccess::namesFollowTheDocument()
{
    Studio studio;
    LevelDocument &document = studio.map.document();
    LocationButton *button = studio.location("4D");
    QCOMPARE(button->accessibleName(), QStringLiteral("Location 4D, not used"));
    QCOMPARE(button->toolTip(), QStringLiteral("Location 4D"));

    document.setInUse({4, 4}, true);
    QCOMPARE(button->accessibleName(), QStringLiteral("Location 4D, in use, empty"));
    document.updategrid({4, 4}, LocationRecord(U"Garden.~Roses.|PATH N|PATH S|START|"), 0);
    QCOMPARE(button->accessibleName(), QStringLiteral("Location 4D, start, exits north and south"));
    QCOMPARE(button->toolTip(), QStringLiteral("Garden."));
    document.updategrid({4, 4}, LocationRecord(), 0);
    document.setInUse({4, 4}, false);
    QCOMPARE(button->accessibleName(), QStringLiteral("Location 4D, not used"));
    QCOMPARE(button->toolTip(), QStringLiteral("Location 4D"));
}

void TestMapAccess::arrowKeys_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");

    QTest::newRow("right") << "5E" << int(Qt::Key_Right) << "5F";
    QTest::newRow("left") << "5E" << int(Qt::Key_Left) << "5D";
    QTest::newRow("up") << "5E" << int(Qt::Key_Up) << "4E";
    QTest::newRow("down") << "5E" << int(Qt::Key_Down) << "6E";
    QTest::newRow("right at the end of a row stays") << "3I" << int(Qt::Key_Right) << "3I";
    QTest::newRow("left at the start of a row stays") << "3A" << int(Qt::Key_Left) << "3A";
    QTest::newRow("up in row 1 stays") << "1C" << int(Qt::Key_Up) << "1C";
    QTest::newRow("down in row 9 stays") << "9C" << int(Qt::Key_Down) << "9C";
    QTest::newRow("into the wide column") << "9H" << int(Qt::Key_Right) << "9I";
}

void TestMapAccess::arrowKeys()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    Studio studio;
    QVERIFY(studio.showActive());
    studio.location(from)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(studio.location(from), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), studio.location(to));
    // The ring that shows where the keyboard is: in the highlight colour,
    // inside the button's frame.
    const QImage drawn = studio.location(to)->grab().toImage();
    const QColor ring = studio.location(to)->palette().color(QPalette::Highlight);
    QCOMPARE(drawn.pixelColor(drawn.width() / 2, 2), ring);
    // Nothing opens on the way.
    QVERIFY(!studio.map.areaStatsDialog().isVisible());
}

void TestMapAccess::enterAndSpaceOpen_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestMapAccess::enterAndSpaceOpen()
{
    QFETCH(int, key);
    Studio studio;
    QVERIFY(studio.showActive());
    LocationButton *start = studio.location("7B");
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    AreaStatsDialog &area = studio.map.areaStatsDialog();
    QVERIFY(area.isVisible());
    QCOMPARE(area.rowpos, 7);
    QCOMPARE(area.colpos, 3);
}

void TestMapAccess::publishComesLastInTabOrder()
{
    Studio studio;
    auto *save = studio.map.findChild<QPushButton *>("Command83");
    QWidget *next = save->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
    QCOMPARE(next->objectName(), QStringLiteral("publishButton"));
}

QTEST_MAIN(TestMapAccess)
#include "tst_mapaccess.moc"
