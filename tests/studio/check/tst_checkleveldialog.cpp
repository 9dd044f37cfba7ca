// SPDX-License-Identifier: MIT
#include "check/checkfiles.h"
#include "checkleveldialog.h"
#include "checklevels.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

std::string bytesOf(const QStringList &afterMap)
{
    return TestFiles::level(afterMap).toStdString();
}

// The rows of the problem list: severity, location, line and sentence.
QStringList rows(const CheckLevelDialog &dialog)
{
    const auto *list = dialog.findChild<QTreeWidget *>("problemList");
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        result << QStringList{row->text(0), row->text(1), row->text(2), row->text(3)}.join('|');
    }
    return result;
}

QStringList entries(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

// The rows of a list of findings, their columns joined by "|".
QStringList rowsOf(const CheckLevelDialog &dialog, const char *name)
{
    const auto *list = dialog.findChild<QTreeWidget *>(name);
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList columns;
        for (int column = 0; column < list->columnCount() && column < 3; ++column)
            columns << list->topLevelItem(i)->text(column);
        result << columns.join('|');
    }
    return result;
}

QString verdictShown(const CheckLevelDialog &dialog)
{
    return dialog.findChild<QLabel *>("verdictLabel")->text();
}

} // namespace

// The window alone: what it shows of each kind of check, the jump to a
// location, stopping, and its controls for the keyboard and the screen reader.
class TestCheckLevelDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shows_data();
    void shows();
    void verdict_data();
    void verdict();
    void enterOpensALocation_data();
    void enterOpensALocation();
    void findings_data();
    void findings();
    void stop_data();
    void stop();
    void newCheckForgetsTheOld();
    void everyControlIsNamed();

private:
    // Checks and waits for the verdict.
    void checkAndWait(CheckLevelDialog &dialog, const std::string &bytes, const QString &path,
                      const QString &language = CheckFiles::english());

    QTemporaryDir dir;
};

void TestCheckLevelDialog::initTestCase()
{
    QVERIFY(dir.isValid());
    CheckFiles::write(dir.path(), "cellar.qw", CheckLevels::cellar());
}

void TestCheckLevelDialog::checkAndWait(CheckLevelDialog &dialog, const std::string &bytes, const QString &path,
                                        const QString &language)
{
    QSignalSpy checked(&dialog, &CheckLevelDialog::checked);
    dialog.check(bytes, path, language);
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 1, 60000);
    QVERIFY(!dialog.running());
}

void TestCheckLevelDialog::shows_data()
{
    QTest::addColumn<QStringList>("level");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxStates");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("walkthrough");
    QTest::addColumn<bool>("playable");

    const int all = 10'000'000;
    QTest::newRow("winnable") << CheckLevels::grapple() << "grapple.qw" << all
                              << "Winnable in 5 commands (13 play states searched)." << QStringList{}
                              << QStringList{"1. TAKE rope", "2. E", "3. TAKE hook", "4. COMBINE rope WITH hook", "5. S"}
                              << true;
    QTest::newRow("cannot be won")
        << CheckLevels::locked() << "locked.qw" << all << "Cannot be won: every reachable play state (1) was explored."
        << QStringList{"Warning||13|Item A (key) lies nowhere at the start and no rule makes it, so the player can "
                       "never have it.",
                       "Warning|1B|20|Location 1B is never entered in any play from the start."}
        << QStringList{} << false;
    QTest::newRow("unknown at the limit") << CheckLevels::grapple() << "grapple.qw" << 3
                                          << "Unknown: stopped after 3 play states, the most one check explores."
                                          << QStringList{} << QStringList{} << false;
    // The chained level lies beside the level checked, which is not saved yet.
    QTest::newRow("a chain of two levels, the first never saved")
        << CheckLevels::chain("cellar.qw") << "new.qw" << all << "Winnable in 2 commands (2 play states searched)."
        << QStringList{"Warning|2A|16|In $DIR/cellar.qw: The exit east from 2A to 2B is one-way: 2B has no exit west "
                       "back."}
        << QStringList{"1. E", "2. E"} << true;
    QTest::newRow("a chained level nowhere")
        << CheckLevels::chain("nowhere.qw") << "new.qw" << all
        << "Cannot be won: every reachable play state (2) was explored."
        << QStringList{"Error|1B|22|1B loads the level \"nowhere.qw\", which the player would not find: it is neither "
                       "in the current folder nor beside this level.",
                       "Warning|||No location ends the game (none has an ENDGAME line), so the game cannot be won."}
        << QStringList{} << false;
}

void TestCheckLevelDialog::shows()
{
    QFETCH(QStringList, level);
    QFETCH(QString, name);
    QFETCH(int, maxStates);
    QFETCH(QString, verdict);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, walkthrough);
    QFETCH(bool, playable);

    CheckLevelDialog dialog;
    dialog.setMaxStates(std::size_t(maxStates));
    dialog.show();
    const QString path = dir.filePath(name);
    checkAndWait(dialog, bytesOf(level), path);

    QCOMPARE(verdictShown(dialog), verdict);
    QCOMPARE(rows(dialog), problems.replaceInStrings("$DIR", dir.path()));
    // The first problem, chosen, stands in full below the list.
    const QString full = dialog.findChild<QLabel *>("problemText")->text();
    QCOMPARE(full.isEmpty(), problems.isEmpty());
    if (!problems.isEmpty())
        QVERIFY2(full.startsWith(problems.first().section('|', 3)), qPrintable(full));
    QCOMPARE(entries(dialog.findChild<QListWidget *>("walkthroughList")), walkthrough);
    QCOMPARE(dialog.findChild<QPushButton *>("playButton")->isEnabled(), playable);
    QVERIFY(!dialog.findChild<QPushButton *>("stopButton")->isEnabled());
    QVERIFY(dialog.findChild<QPushButton *>("checkAgainButton")->isEnabled());
    QVERIFY(!dialog.findChild<QProgressBar *>("checkProgress")->isVisible());
    QCOMPARE(dialog.checkedPath(), path);
    QCOMPARE(dialog.checkedBytes(), bytesOf(level));
    // What the window shows wins the level, saved beside, in the player's engine.
    if (playable) {
        QStringList commands;
        for (const std::string &command : dialog.report()->walkthrough)
            commands << QString::fromStdString(command);
        const QString saved = CheckFiles::write(dir.path(), "saved-" + name, level);
        QCOMPARE(CheckFiles::playsToEnd(saved, commands), QString());
    }
}

void TestCheckLevelDialog::verdict_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("winnable"); // 1, 0, or -1 for not known
    QTest::addColumn<int>("states");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("one command") << "" << 1 << 1 << 1 << false << "Winnable in 1 command (1 play state searched).";
    QTest::newRow("won at the start") << "" << 1 << 1 << 0 << false
                                      << "Winnable in 0 commands: the game ends where it starts.";
    QTest::newRow("thousands") << "" << 0 << 1234567 << 0 << false
                               << "Cannot be won: every reachable play state (1,234,567) was explored.";
    QTest::newRow("stops before the first command")
        << "" << 0 << 0 << 0 << false << "Cannot be won: the player stops before the first command.";
    QTest::newRow("stopped by the author") << "" << -1 << 42 << 0 << true << "Unknown: stopped after 42 play states.";
    QTest::newRow("stopped before it began") << "" << -1 << 0 << 0 << true << "Unknown: stopped after 0 play states.";
    QTest::newRow("at the limit") << "" << -1 << 10000000 << 0 << false
                                  << "Unknown: stopped after 10,000,000 play states, the most one check explores.";
    QTest::newRow("a failure") << "Cannot open the language file \"x.txt\": No such file or directory." << -1 << 0 << 0
                               << false
                               << "The level could not be checked: Cannot open the language file \"x.txt\": No such "
                                  "file or directory.";
}

void TestCheckLevelDialog::verdict()
{
    QFETCH(QString, failure);
    QFETCH(int, winnable);
    QFETCH(int, states);
    QFETCH(int, steps);
    QFETCH(bool, stopped);
    QFETCH(QString, verdict);
    CheckReport report;
    report.failure = failure.toStdString();
    report.searched = failure.isEmpty();
    if (winnable >= 0)
        report.winnable = winnable == 1;
    report.states = std::size_t(states);
    report.walkthrough.assign(std::size_t(steps), "E");
    QCOMPARE(CheckLevelDialog::verdict(report, stopped), verdict);
}

void TestCheckLevelDialog::enterOpensALocation_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QPoint>("opened"); // row and column; none: (0, 0)

    // The problems of the broken chain: 1B of this level, then one with no location.
    QTest::newRow("Enter on a location of this level") << 0 << false << QPoint(1, 2);
    QTest::newRow("a double click on it") << 0 << true << QPoint(1, 2);
    QTest::newRow("a problem with no location") << 1 << false << QPoint();
}

void TestCheckLevelDialog::enterOpensALocation()
{
    QFETCH(int, row);
    QFETCH(bool, doubleClick);
    QFETCH(QPoint, opened);
    CheckLevelDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    checkAndWait(dialog, bytesOf(CheckLevels::chain("nowhere.qw")), dir.filePath("new.qw"));
    QSignalSpy chosen(&dialog, &CheckLevelDialog::locationChosen);
    QSignalSpy closed(&dialog, &QDialog::rejected);
    auto *list = dialog.findChild<QTreeWidget *>("problemList");
    // The verdict gives the list the focus, on its first problem.
    QCOMPARE(QApplication::focusWidget(), list);
    list->setCurrentItem(list->topLevelItem(row));
    if (doubleClick) {
        const QRect cell = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    } else {
        QTest::keyClick(list, Qt::Key_Return);
    }
    QCOMPARE(chosen.size(), opened.isNull() ? 0 : 1);
    if (!opened.isNull())
        QCOMPARE(QPoint(chosen.at(0).at(0).toInt(), chosen.at(0).at(1).toInt()), opened);
    // Enter belongs to the list: it presses no button and the window stays.
    QVERIFY(dialog.isVisible());
    QCOMPARE(closed.size(), 0);
}

void TestCheckLevelDialog::findings_data()
{
    QTest::addColumn<QByteArray>("level");
    QTest::addColumn<QString>("deadEndsLabel");
    QTest::addColumn<QStringList>("deadEnds"); // location, command, states
    QTest::addColumn<QString>("unreachedLabel");
    QTest::addColumn<QStringList>("unreached"); // kind, name, where
    QTest::addColumn<QString>("list"); // where Enter is pressed on the first row
    QTest::addColumn<QPoint>("opened"); // row and column; none: (0, 0)

    QFile cellar(QStringLiteral(QUILLMOOR_SOURCE_DIR "/data/stuck/CELLAR.qw"));
    QVERIFY(cellar.open(QIODevice::ReadOnly));
    const QByteArray stuck = cellar.readAll();
    // A pebble lies in a nook no path leads to; the sling needs it.
    const QByteArray nook = TestFiles::level({"[ITEMS]", "A rope", "B hook", "C grapple", "D pebble", "E sling", "",
                                              "[LOCATION 1A]", "Cell.", "PATH E", "ITEM A", "START", "",
                                              "[LOCATION 1B]", "Yard.", "PATH S REQUIRES=C The wall is too high.",
                                              "PATH W", "ITEM B", "",
                                              "[LOCATION 2B]", "Top of the wall.", "PATH N", "ENDGAME", "",
                                              "[LOCATION 3C]", "Nook.", "ITEM D", "",
                                              "[COMBOS]", "A+B=C", "D+B=E", ""});

    QTest::newRow("two ways to get stuck")
        << stuck << "Ways to get stuck: 2"
        << QStringList{"1B|COMBINE flint WITH oil|12", "1B|COMBINE lit-taper WITH oil|3"}
        << "Never reached in play: nothing" << QStringList{} << "deadEndList" << QPoint(1, 2);
    QTest::newRow("content no play reaches")
        << nook << "Ways to get stuck: none" << QStringList{} << "Never reached in play: 4"
        << QStringList{"Location|3C|3C", "Item|pebble|3C", "Item|sling|", "Rule|D+B=E|"} << "unreachedList"
        << QPoint(3, 3);
    QTest::newRow("a level no way wins")
        << TestFiles::level(CheckLevels::locked()) << "Ways to get stuck: none, as no way wins" << QStringList{}
        << "Never reached in play: 2" << QStringList{"Location|1B|1B", "Item|key|"} << "unreachedList"
        << QPoint(1, 2);
}

// The ways to get stuck and what no play reaches, beside the problems; Enter
// on one opens its location.
void TestCheckLevelDialog::findings()
{
    QFETCH(QByteArray, level);
    QFETCH(QString, deadEndsLabel);
    QFETCH(QStringList, deadEnds);
    QFETCH(QString, unreachedLabel);
    QFETCH(QStringList, unreached);
    QFETCH(QString, list);
    QFETCH(QPoint, opened);
    CheckLevelDialog dialog;
    dialog.show();
    checkAndWait(dialog, level.toStdString(), dir.filePath("findings.qw"));
    QCOMPARE(dialog.findChild<QLabel *>("deadEndsLabel")->text(), deadEndsLabel);
    QCOMPARE(rowsOf(dialog, "deadEndList"), deadEnds);
    QCOMPARE(dialog.findChild<QLabel *>("unreachedLabel")->text(), unreachedLabel);
    QCOMPARE(rowsOf(dialog, "unreachedList"), unreached);
    QCOMPARE(dialog.findChild<QPushButton *>("playIntoButton")->isEnabled(), !deadEnds.isEmpty());
    const QString full = dialog.findChild<QLabel *>("deadEndText")->text();
    QCOMPARE(full.isEmpty(), deadEnds.isEmpty());
    if (!deadEnds.isEmpty())
        QVERIFY2(full.startsWith("In 1B, COMBINE flint WITH oil: the game can no longer be won (12 play states). "
                                 "Shortest way in: E, TAKE flint, TAKE oil, COMBINE flint WITH oil"),
                 qPrintable(full));

    QSignalSpy chosen(&dialog, &CheckLevelDialog::locationChosen);
    auto *rows = dialog.findChild<QTreeWidget *>(list);
    rows->setFocus();
    rows->setCurrentItem(rows->topLevelItem(0));
    QTest::keyClick(rows, Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(QPoint(chosen.at(0).at(0).toInt(), chosen.at(0).at(1).toInt()), opened);
    QVERIFY(rows->topLevelItem(0)->data(0, Qt::AccessibleTextRole).toString().endsWith(" in Area Stats."));

    QSignalSpy played(&dialog, &CheckLevelDialog::playIntoRequested);
    if (!deadEnds.isEmpty()) {
        auto *deadEndList = dialog.findChild<QTreeWidget *>("deadEndList");
        deadEndList->setCurrentItem(deadEndList->topLevelItem(1));
        dialog.findChild<QPushButton *>("playIntoButton")->click();
        QCOMPARE(played.size(), 1);
        QCOMPARE(played.at(0).at(0).toInt(), 1);
    }
}

void TestCheckLevelDialog::stop_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Stop") << "stop";
    QTest::newRow("Close") << "close";
    QTest::newRow("Escape") << "escape";
}

// Stopping leaves the verdict unknown; the window was never blocked.
void TestCheckLevelDialog::stop()
{
    QFETCH(QString, how);
    CheckLevelDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy checked(&dialog, &CheckLevelDialog::checked);
    dialog.check(bytesOf(CheckLevels::endless()), dir.filePath("endless.qw"), CheckFiles::english());
    QVERIFY(dialog.running());
    QVERIFY(dialog.findChild<QProgressBar *>("checkProgress")->isVisible());
    QVERIFY(!dialog.findChild<QPushButton *>("playButton")->isEnabled());
    // The window goes on answering while the search runs.
    QTest::qWait(300);
    QVERIFY(dialog.running());
    if (how == "stop") {
        dialog.findChild<QPushButton *>("stopButton")->click();
    } else if (how == "close") {
        dialog.findChild<QPushButton *>("closeButton")->click();
        QVERIFY(!dialog.isVisible());
    } else {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 1, 30000);
    QVERIFY(!dialog.running());
    QVERIFY(verdictShown(dialog).startsWith("Unknown: stopped after "));
    QVERIFY(!verdictShown(dialog).contains("the most"));
    QVERIFY(dialog.findChild<QPushButton *>("checkAgainButton")->isEnabled());
}

// A check begun while another runs replaces it: only the new one's verdict shows.
void TestCheckLevelDialog::newCheckForgetsTheOld()
{
    CheckLevelDialog dialog;
    QSignalSpy checked(&dialog, &CheckLevelDialog::checked);
    dialog.check(bytesOf(CheckLevels::endless()), dir.filePath("endless.qw"), CheckFiles::english());
    dialog.check(bytesOf(CheckLevels::grapple()), dir.filePath("grapple.qw"), CheckFiles::english());
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 1, 30000);
    QTest::qWait(200);
    QCOMPARE(checked.size(), 1);
    QCOMPARE(verdictShown(dialog), "Winnable in 5 commands (13 play states searched).");
    QCOMPARE(dialog.checkedPath(), dir.filePath("grapple.qw"));

    // Without a language file there is nothing to play the level with.
    dialog.check(bytesOf(CheckLevels::grapple()), dir.filePath("grapple.qw"), QString());
    QTRY_COMPARE(checked.size(), 2);
    QCOMPARE(verdictShown(dialog), "The level could not be checked: The language file \"Language.txt\" is not "
                                   "installed with the studio, so the level cannot be played to check it.");
}

// A screen reader can name every control, and the keyboard reaches them in
// reading order.
void TestCheckLevelDialog::everyControlIsNamed()
{
    CheckLevelDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    checkAndWait(dialog, bytesOf(CheckLevels::locked()), dir.filePath("locked.qw"));
    const QList<QWidget *> controls = dialog.findChildren<QWidget *>();
    int named = 0;
    for (QWidget *control : controls) {
        if (control->focusPolicy() == Qt::NoFocus && !qobject_cast<QProgressBar *>(control))
            continue;
        if (control->parentWidget() != &dialog)
            continue;
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(control);
        QVERIFY(spoken);
        QVERIFY2(!spoken->text(QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
        ++named;
    }
    QCOMPARE(named, 11);

    QStringList order;
    QWidget *at = dialog.findChild<QTreeWidget *>("problemList");
    for (int i = 0; i < 10; ++i) {
        order << at->objectName();
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || at->parentWidget() != &dialog)
            at = at->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"problemList", "deadEndList", "playIntoButton", "unreachedList", "verdictLabel",
                                 "walkthroughList", "stopButton", "checkAgainButton", "playButton", "closeButton"}));

    // The problem is read as one sentence.
    const QTreeWidgetItem *problem = dialog.findChild<QTreeWidget *>("problemList")->topLevelItem(0);
    QCOMPARE(problem->data(3, Qt::AccessibleTextRole).toString(),
             "Warning, line 13: Item A (key) lies nowhere at the start and no rule makes it, so the player can never "
             "have it.");
}

QTEST_MAIN(TestCheckLevelDialog)
#include "tst_checkleveldialog.moc"
