// SPDX-License-Identifier: MIT
#include "scriptedplatform.h"
#include "startdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// An author's first level, made the way a person makes it: typing a new file
// name, naming three items and a rule, filling three locations in "Area
// Stats", saving and answering Yes; then the player wins it.
class TestAuthoring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildSaveAndWin();

private:
    template<typename T> T *in(QWidget &window, const char *name)
    {
        T *widget = window.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no %s", name);
        return widget;
    }
    void click(QWidget &window, const char *name)
    {
        QTest::mouseClick(in<QPushButton>(window, name), Qt::LeftButton);
    }
    // Double-clicks the entry of a list that reads text.
    void moveEntry(QWidget &window, const char *list, const QString &text)
    {
        QListWidget *from = in<QListWidget>(window, list);
        const QList<QListWidgetItem *> found = from->findItems(text, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const QPoint at = from->visualItemRect(found.first()).center();
        QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, at);
    }
    void narrate(QWidget &area, const QString &text)
    {
        QPlainTextEdit *box = in<QPlainTextEdit>(area, "Text1");
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    QTemporaryDir dir;
};

void TestAuthoring::buildSaveAndWin()
{
    ScriptedPlatform platform;
    platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    StartDialog start(platform);
    start.show();
    const QString level = dir.filePath(QStringLiteral("first.qw"));
    QTest::keyClicks(in<QLineEdit>(start, "Text1"), level);
    click(start, "Command1");
    QVERIFY(start.mapWindow());
    MapWindow &map = *start.mapWindow();
    QVERIFY(map.isVisible());

    // Items and the rule that makes the lit lamp.
    click(map, "Command82");
    ItemManagementDialog &items = map.itemManagementDialog();
    QVERIFY(items.isVisible());
    QTest::keyClicks(in<QLineEdit>(items, "Text1"), "lamp");
    QTest::keyClicks(in<QLineEdit>(items, "Text2"), "oil");
    QTest::keyClicks(in<QLineEdit>(items, "Text3"), "lit lamp");
    QTest::keyClicks(in<QComboBox>(items, "Combo3")->lineEdit(), "A");
    QTest::keyClicks(in<QComboBox>(items, "Combo29")->lineEdit(), "B");
    click(items, "Command1");
    QVERIFY(!items.isVisible());

    AreaStatsDialog &area = map.areaStatsDialog();
    // 1A: the start, with the lamp, open to the east.
    click(map, "Command1");
    QVERIFY(area.isVisible());
    narrate(area, "A cold cell.");
    QVERIFY(map.document().inUse({1, 1}));
    in<QCheckBox>(area, "Check3")->click();
    in<QRadioButton>(area, "Option1")->click();
    moveEntry(area, "List2", "lamp");
    click(area, "Command1");
    QVERIFY(!area.isVisible());

    // 1B: oil lies here; east is dark without the lit lamp.
    click(map, "Command2");
    narrate(area, "A long corridor.");
    in<QCheckBox>(area, "Check4")->click();
    in<QCheckBox>(area, "Check3")->click();
    QTest::keyClicks(in<QComboBox>(area, "Combo3")->lineEdit(), "lit lamp");
    QTest::keyClicks(in<QPlainTextEdit>(area, "Text6"), "It is too dark to go on.");
    moveEntry(area, "List2", "oil");
    click(area, "Command1");

    // 1C: the way out wins the game.
    click(map, "Command3");
    narrate(area, "Daylight!");
    in<QCheckBox>(area, "Check4")->click();
    in<QRadioButton>(area, "Option3")->click();
    click(area, "Command1");

    QCOMPARE(map.findChild<QPushButton *>("Command1")->property("pictureName").toString(), "AI0010.bmp");
    QCOMPARE(map.findChild<QPushButton *>("Command3")->property("pictureName").toString(), "EN0001.bmp");

    platform.answers.enqueue(Platform::Answer::Yes);
    click(map, "Command83");
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform), QStringList());
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Ask),
             QStringList{"Level Data Saved. Do you want to test your game?"});
    const QList<ScriptedPlatform::Event> &events = platform.events;
    QCOMPARE(events.last().kind, ScriptedPlatform::Kind::StartProgram);
    QCOMPARE(events.last().text, QStringLiteral(QUILLMOOR_BIN_DIR "/quillmoorplayer"));
    QCOMPARE(events.last().arguments, (QStringList{"--", level}));

    QFile saved(level);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY2(bytes.contains("[ITEMS]\r\nA lamp\r\nB oil\r\nC lit-lamp\r\n\r\n"
                            "[LOCATION 1A]\r\nA cold cell.\r\nPATH E\r\nITEM A\r\nSTART\r\n\r\n"
                            "[LOCATION 1B]\r\nA long corridor.\r\nPATH E REQUIRES=C It is too dark to go on.\r\n"
                            "PATH W\r\nITEM B\r\n\r\n"
                            "[LOCATION 1C]\r\nDaylight!\r\nPATH W\r\nENDGAME\r\n\r\n[COMBOS]\r\nA+B=C\r\n\r\n"),
             bytes.constData());

    // The started player, with the shipped language, in the terminal.
    QProcess player;
    player.start(events.last().text, QStringList{"--tty"} + events.last().arguments);
    player.write("take lamp\ne\ne\ntake oil\ncombine lamp oil\ne\ny\n");
    player.closeWriteChannel();
    QVERIFY(player.waitForFinished(30000));
    const QString out = QString::fromUtf8(player.readAllStandardOutput());
    QCOMPARE(player.exitCode(), 0);
    QCOMPARE(player.readAllStandardError(), QByteArray());
    QVERIFY2(out.contains("It is too dark to go on.\nA long corridor."), qPrintable(out));
    QVERIFY2(out.contains("lit-lamp."), qPrintable(out));
    QVERIFY2(out.contains(">e\nDaylight!\n"), qPrintable(out));
    QVERIFY2(out.endsWith("(y/n) y\n"), qPrintable(out));
}

QTEST_MAIN(TestAuthoring)
#include "tst_authoring.moc"
