// SPDX-License-Identifier: MIT
#include "locationbutton.h"
#include "mapwindow.h"
#include "qtext.h"
#include "scriptedplatform.h"
#include "testfiles.h"
#include "level/workedexample.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = ScriptedPlatform::Kind;
using Answer = Platform::Answer;

// The studio driven as the author drives it: through the map's buttons and
// the dialogs' controls.
struct Studio
{
    Studio()
        : map(platform)
    {
        platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    }

    LocationButton *location(int row, int col)
    {
        return map.findChild<LocationButton *>(QStringLiteral("Command%1").arg(9 * (row - 1) + col));
    }
    QAction *action(const char *name) { return map.findChild<QAction *>(QLatin1String(name)); }
    template<typename T>
    T *area(const QString &name)
    {
        auto *control = map.areaStatsDialog().findChild<T *>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }
    template<typename T>
    T *items(const QString &name)
    {
        auto *control = map.itemManagementDialog().findChild<T *>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }

    // One author's step, by name.
    void edit(const QString &step)
    {
        if (step == "1A start") {
            location(1, 1)->click();
            area<QPlainTextEdit>("Text1")->setPlainText("A cold cell.");
            area<QCheckBox>("Check3")->setChecked(true);
            area<QRadioButton>("Option1")->setChecked(true);
        } else if (step == "1B hall") {
            // Two lines, and the first free item laid here.
            location(1, 2)->click();
            area<QPlainTextEdit>("Text1")->setPlainText("A long hall.\nIt echoes.");
            area<QCheckBox>("Check4")->setChecked(true);
            auto *unused = area<QListWidget>("List2");
            if (unused->count() > 0)
                area<QListWidget>("List1")->addItem(unused->takeItem(0));
        } else if (step == "1B locked") {
            location(1, 2)->click();
            area<QCheckBox>("Check2")->setChecked(true);
            auto *required = area<QComboBox>("Combo2");
            required->setEditText(required->count() > 1 ? required->itemText(1) : QString());
            area<QPlainTextEdit>("Text5")->setPlainText("Locked.");
        } else if (step == "2B not used") {
            location(2, 2)->click();
            area<QRadioButton>("Option5")->setChecked(true);
        } else if (step == "1A items away") {
            location(1, 1)->click();
            auto *here = area<QListWidget>("List1");
            while (here->count() > 0)
                area<QListWidget>("List2")->addItem(here->takeItem(0));
        } else if (step == "3C load") {
            location(3, 3)->click();
            area<QRadioButton>("Option2")->setChecked(true);
            area<QLineEdit>("Text2")->setText(" cave.qw ");
            area<QPlainTextEdit>("Text3")->setPlainText("You fall.");
        } else if (step == "items") {
            map.manageItems();
            items<QLineEdit>("Text1")->setText("lamp");
            items<QLineEdit>("Text2")->setText("oil");
            items<QLineEdit>("Text3")->setText("lit lamp");
            items<QComboBox>("Combo3")->setEditText("A");
            items<QComboBox>("Combo29")->setEditText("B");
            items<QPushButton>("Command1")->click();
            return;
        } else if (step == "rename") {
            map.manageItems();
            items<QLineEdit>("Text1")->setText("brass lamp");
            items<QComboBox>("Combo3")->setEditText("");
            items<QPushButton>("Command1")->click();
            return;
        } else {
            qFatal("no step %s", qPrintable(step));
        }
        area<QPushButton>("Command1")->click();
    }

    // "Save Level Changes", declining the test; the file's bytes after it.
    QByteArray save()
    {
        platform.answers.enqueue(Answer::No);
        map.saveLevel();
        return TestFiles::read(map.document().levelfile);
    }

    ScriptedPlatform platform;
    MapWindow map;
};

QByteArray emptyLevel()
{
    return TestFiles::level({QStringLiteral("[ITEMS]"), QString(), QStringLiteral("[COMBOS]"), QString()});
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void actionsFollowTheHistory();
    void keysUndoAndRedo();
    void savedBytes_data();
    void savedBytes();
    void undoToSavedIsUnmodified_data();
    void undoToSavedIsUnmodified();
    void undoPutsTheLocationBack();
    void onlyCommitsAreSteps();
    void itemBoxesFollowUndo();
    void newCommitDropsRedo();
    void loadStartsAfresh();
};

void TestUndo::actionsFollowTheHistory()
{
    Studio studio;
    QAction *undo = studio.action("actionUndo");
    QAction *redo = studio.action("actionRedo");
    QVERIFY(undo && redo);
    QVERIFY(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
    QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    // In the map window's context menu, with their keys shown there.
    QCOMPARE(studio.map.contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(studio.map.actions().contains(undo));
    QVERIFY(studio.map.actions().contains(redo));
    QVERIFY(undo->isShortcutVisibleInContextMenu());
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    studio.edit("1A start");
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Undo Area Stats 1A"));
    studio.edit("items");
    QCOMPARE(undo->text(), QStringLiteral("Undo Item Management"));
    undo->trigger();
    QCOMPARE(undo->text(), QStringLiteral("Undo Area Stats 1A"));
    QCOMPARE(redo->text(), QStringLiteral("Redo Item Management"));
    undo->trigger();
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Redo Area Stats 1A"));
}

void TestUndo::keysUndoAndRedo()
{
    Studio studio;
    studio.edit("1A start");
    studio.map.show();
    studio.map.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&studio.map));
    QTest::keyClick(studio.location(5, 5), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(studio.map.document().locdata({1, 1}).isEmpty());
    QTest::keyClick(studio.location(5, 5), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(studio.map.document().locdata({1, 1}).text(), Text(U"A cold cell.|PATH E|START|"));
}

void TestUndo::savedBytes_data()
{
    QTest::addColumn<bool>("loaded"); // the worked example, else a new level
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("saveEachStep");

    const QStringList building{"1A start", "items", "1B hall", "3C load", "rename", "1B locked"};
    const QStringList reworking{"1B locked", "2B not used", "rename", "1A items away", "1A start", "items"};
    for (bool each : {true, false}) {
        const char *when = each ? "saved at each step" : "saved at the end";
        QTest::addRow("new level, %s", when) << false << building << each;
        QTest::addRow("worked example, %s", when) << true << reworking << each;
    }
}

// Every step undone and redone again gives back the very file each state saved.
void TestUndo::savedBytes()
{
    QFETCH(bool, loaded);
    QFETCH(QStringList, steps);
    QFETCH(bool, saveEachStep);

    QTemporaryDir folder;
    Studio studio;
    LevelDocument &document = studio.map.document();
    document.levelfile = folder.filePath("level.qw");
    if (loaded) {
        QVERIFY(TestFiles::write(document.levelfile, workedExample()));
        QVERIFY(document.loadgame(document.levelfile).isEmpty());
    }
    QList<QByteArray> states{loaded ? workedExample() : emptyLevel()};
    for (const QString &step : steps) {
        studio.edit(step);
        QVERIFY2(document.isModified(), qPrintable(step));
        if (saveEachStep)
            states << studio.save();
    }
    QCOMPARE(studio.map.history().count(), steps.size());
    const QByteArray last = saveEachStep ? states.last() : studio.save();

    QAction *undo = studio.action("actionUndo");
    QAction *redo = studio.action("actionRedo");
    for (qsizetype i = steps.size(); i > 0; --i) {
        undo->trigger();
        if (saveEachStep)
            QCOMPARE(studio.save(), states.at(i - 1));
    }
    QVERIFY(!undo->isEnabled());
    QCOMPARE(studio.save(), states.first());
    for (qsizetype i = 1; i <= steps.size(); ++i) {
        redo->trigger();
        if (saveEachStep)
            QCOMPARE(studio.save(), states.at(i));
    }
    QVERIFY(!redo->isEnabled());
    QCOMPARE(studio.save(), last);
}

void TestUndo::undoToSavedIsUnmodified_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("step");
    QTest::newRow("location of a new level") << false << "1A start";
    QTest::newRow("items of a new level") << false << "items";
    QTest::newRow("location read from the file") << true << "1B locked";
    QTest::newRow("block removed") << true << "2B not used";
    QTest::newRow("items read from the file") << true << "rename";
}

void TestUndo::undoToSavedIsUnmodified()
{
    QFETCH(bool, loaded);
    QFETCH(QString, step);

    QTemporaryDir folder;
    Studio studio;
    LevelDocument &document = studio.map.document();
    document.levelfile = folder.filePath("level.qw");
    if (loaded) {
        QVERIFY(TestFiles::write(document.levelfile, workedExample()));
        QVERIFY(document.loadgame(document.levelfile).isEmpty());
    }
    QAction *undo = studio.action("actionUndo");
    QAction *redo = studio.action("actionRedo");

    // Back to what was loaded: closing asks nothing.
    studio.edit(step);
    QVERIFY(document.isModified());
    undo->trigger();
    QVERIFY(!document.isModified());
    redo->trigger();
    QVERIFY(document.isModified());

    // Back to what was saved since, and past it.
    const QByteArray saved = studio.save();
    QVERIFY(!document.isModified());
    undo->trigger();
    QVERIFY(document.isModified());
    redo->trigger();
    QVERIFY(!document.isModified());

    studio.map.show();
    QVERIFY(studio.map.close());
    QCOMPARE(studio.platform.texts(Kind::AskOrCancel), QStringList());
    QCOMPARE(TestFiles::read(document.levelfile), saved);
}

void TestUndo::undoPutsTheLocationBack()
{
    Studio studio;
    LevelDocument &document = studio.map.document();
    document.updateitems({U"lamp", U"key"}, {});
    LocationButton *button = studio.location(1, 2);

    // A location never used: the narrative marks it in use while the dialog
    // is open, the commit gives it its picture and places the lamp.
    studio.edit("1B hall");
    QCOMPARE(button->backColor(), LocationButton::InUse);
    QCOMPARE(button->property("pictureName").toString(), QStringLiteral("OI0001.bmp"));
    QVERIFY(document.placed()[0]);
    QCOMPARE(button->accessibleName(), QStringLiteral("Location 1B, exit west, items"));
    QCOMPARE(button->toolTip(), QStringLiteral("A long hall."));

    studio.action("actionUndo")->trigger();
    QVERIFY(document.locdata({1, 2}).isEmpty());
    QVERIFY(!document.placed()[0]);
    QCOMPARE(button->backColor(), LocationButton::NotInUse);
    QVERIFY(button->picture().isNull());
    QVERIFY(!button->property("pictureName").isValid());
    QCOMPARE(button->accessibleName(), QStringLiteral("Location 1B, not used"));
    QCOMPARE(button->toolTip(), QStringLiteral("Location 1B"));

    studio.action("actionRedo")->trigger();
    QCOMPARE(toQString(document.locdata({1, 2}).text()), QStringLiteral("A long hall.\r\nIt echoes.|PATH W|ITEM A|"));
    QVERIFY(document.placed()[0]);
    QCOMPARE(button->backColor(), LocationButton::InUse);
    QCOMPARE(button->property("pictureName").toString(), QStringLiteral("OI0001.bmp"));
    QVERIFY(!button->picture().isNull());

    // Taking the lamp away again frees it; undoing that lays it back.
    studio.location(1, 2)->click();
    studio.area<QListWidget>("List2")->addItem(studio.area<QListWidget>("List1")->takeItem(0));
    studio.area<QPushButton>("Command1")->click();
    QVERIFY(!document.placed()[0]);
    studio.action("actionUndo")->trigger();
    QVERIFY(document.placed()[0]);
    // The area editor then offers what the document holds.
    studio.location(1, 2)->click();
    QCOMPARE(studio.area<QListWidget>("List1")->count(), 1);
    QCOMPARE(studio.area<QListWidget>("List2")->count(), 1);
}

void TestUndo::onlyCommitsAreSteps()
{
    Studio studio;
    QUndoStack &history = studio.map.history();
    // The type options recolour at once, as before, and are no step.
    studio.location(4, 4)->click();
    studio.area<QRadioButton>("Option4")->setChecked(true);
    QCOMPARE(studio.location(4, 4)->backColor(), LocationButton::InUse);
    QCOMPARE(history.count(), 0);
    // Cancel commits nothing and undoes nothing: the colour stays.
    studio.area<QPushButton>("Command2")->click();
    QCOMPARE(history.count(), 0);
    QCOMPARE(studio.location(4, 4)->backColor(), LocationButton::InUse);
    // Nor does the item manager's.
    studio.map.manageItems();
    studio.items<QLineEdit>("Text1")->setText("lamp");
    studio.items<QPushButton>("Command2")->click();
    QCOMPARE(history.count(), 0);
    // Saving is no step either.
    QTemporaryDir folder;
    studio.map.document().levelfile = folder.filePath("level.qw");
    studio.save();
    QCOMPARE(history.count(), 0);

    // A commit is one step, whatever the option did before it; undoing it
    // puts back the mark the location had when it was opened.
    studio.location(4, 5)->click();
    studio.area<QRadioButton>("Option4")->setChecked(true);
    studio.area<QRadioButton>("Option1")->setChecked(true);
    studio.area<QPushButton>("Command1")->click();
    QCOMPARE(history.count(), 1);
    QCOMPARE(studio.location(4, 5)->backColor(), LocationButton::InUse);
    history.undo();
    QCOMPARE(studio.location(4, 5)->backColor(), LocationButton::NotInUse);
    history.redo();
    QCOMPARE(studio.location(4, 5)->backColor(), LocationButton::InUse);
}

void TestUndo::itemBoxesFollowUndo()
{
    Studio studio;
    LevelDocument &document = studio.map.document();
    studio.edit("items");
    studio.edit("rename");
    QCOMPARE(toQString(document.itemnames()[0]), QStringLiteral("brass lamp"));
    QCOMPARE(document.combotable().size(), std::size_t(0));

    studio.action("actionUndo")->trigger();
    QCOMPARE(toQString(document.itemnames()[0]), QStringLiteral("lamp"));
    QCOMPARE(toQString(document.combotable().at(0).line()), QStringLiteral("A+B=C"));
    // The boxes show what the document holds again, so the next "OK" does
    // not bring back what was undone.
    QCOMPARE(studio.items<QLineEdit>("Text1")->text(), QStringLiteral("lamp"));
    QCOMPARE(studio.items<QComboBox>("Combo3")->currentText(), QStringLiteral("A"));
    QCOMPARE(studio.items<QComboBox>("Combo29")->currentText(), QStringLiteral("B"));
    // The area editor's names follow too.
    QCOMPARE(studio.map.areaStatsDialog().itemNames()->item(0)->text(), QStringLiteral("lamp"));

    studio.action("actionUndo")->trigger();
    for (int k = 1; k <= 26; ++k)
        QVERIFY(studio.items<QLineEdit>(QStringLiteral("Text%1").arg(k))->text().isEmpty());
    QVERIFY(studio.items<QComboBox>("Combo3")->currentText().isEmpty());
    QCOMPARE(studio.map.areaStatsDialog().itemNames()->count(), 0);

    studio.action("actionRedo")->trigger();
    studio.action("actionRedo")->trigger();
    QCOMPARE(studio.items<QLineEdit>("Text1")->text(), QStringLiteral("brass lamp"));
    QCOMPARE(studio.items<QLineEdit>("Text2")->text(), QStringLiteral("oil"));
    QVERIFY(studio.items<QComboBox>("Combo3")->currentText().isEmpty());
}

void TestUndo::newCommitDropsRedo()
{
    Studio studio;
    studio.edit("1A start");
    studio.edit("items");
    studio.action("actionUndo")->trigger();
    QVERIFY(studio.action("actionRedo")->isEnabled());
    studio.edit("3C load");
    QVERIFY(!studio.action("actionRedo")->isEnabled());
    QCOMPARE(studio.map.history().count(), 2);
    QCOMPARE(studio.action("actionUndo")->text(), QStringLiteral("Undo Area Stats 3C"));
}

void TestUndo::loadStartsAfresh()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("level.qw");
    QVERIFY(TestFiles::write(path, workedExample()));
    Studio studio;
    studio.edit("1A start");
    QVERIFY(studio.map.document().loadgame(path).isEmpty());
    QCOMPARE(studio.map.history().count(), 0);
    QVERIFY(!studio.action("actionUndo")->isEnabled());
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
