// SPDX-License-Identifier: MIT
#include "areastatsdialog.h"
#include "leveldocument.h"
#include "qtext.h"
#include "scriptedplatform.h"
#include "testfiles.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr quint32 Black = 0;
constexpr quint32 ButtonFace = 0x8000000F;

const QString DarkHall = QStringLiteral("Dark hall.~It is cold.|PATH N|PATH S REQUIRES=B The gate is shut.|ITEM A||");

QStringList entries(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

// The colours the map shows for each mark the dialog gives the location, in order.
class Marks
{
public:
    Marks(LevelDocument &document, GridRef at)
    {
        QObject::connect(&document, &LevelDocument::locationChanged, &receiver, [this, &document, at](GridRef changed) {
            if (changed == at)
                colours.append(document.inUse(at) ? Black : ButtonFace);
            else
                colours.append(1); // any other location: never expected
        });
    }
    QList<quint32> colours;

private:
    QObject receiver;
};

} // namespace

class TestAreaStatsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void opensRecord();
    void openingResetsEdits();
    void typeColours_data();
    void typeColours();
    void narrativeRule_data();
    void narrativeRule();
    void listMoves();
    void commitsWithWarnings();
    void requiredItemAsTyped_data();
    void requiredItemAsTyped();
    void closingCommitsNothing_data();
    void closingCommitsNothing();
    void nameListFollowsTheDocument();
    void accessibleNames_data();
    void accessibleNames();
    void tabOrder();
    void enterMovesAnEntry();

private:
    template<typename T>
    T *find(const QString &name) const
    {
        auto *widget = dialog->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    void doubleClick(QListWidget *list, int row) const;
    // Opens the location the way the map does, with its mark as given.
    void open(int row, int col, bool inUse) const;

    LevelDocument *document = nullptr;
    ScriptedPlatform *platform = nullptr;
    AreaStatsDialog *dialog = nullptr;
};

void TestAreaStatsDialog::init()
{
    document = new LevelDocument;
    platform = new ScriptedPlatform;
    dialog = new AreaStatsDialog(*document, *platform);
    document->updateitems({U"lamp", U"key", U"", U"coin"}, {});
    document->updategrid({2, 3}, LocationRecord(toText(DarkHall)), 0);
}

void TestAreaStatsDialog::cleanup()
{
    delete dialog;
    delete platform;
    delete document;
}

void TestAreaStatsDialog::open(int row, int col, bool inUse) const
{
    document->setInUse({row, col}, inUse);
    dialog->showLocation(row, col);
}

void TestAreaStatsDialog::doubleClick(QListWidget *list, int row) const
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void TestAreaStatsDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Option1") << "Option1" << "QRadioButton" << "Start";
    QTest::newRow("Option2") << "Option2" << "QRadioButton" << "Load New Level  (specify below)";
    QTest::newRow("Option3") << "Option3" << "QRadioButton" << "End/Win";
    QTest::newRow("Option4") << "Option4" << "QRadioButton" << "Normal/Used";
    QTest::newRow("Option5") << "Option5" << "QRadioButton" << "Not Used";
    QTest::newRow("Command1") << "Command1" << "QPushButton" << "OK";
    QTest::newRow("Command2") << "Command2" << "QPushButton" << "Cancel";
    QTest::newRow("Frame1") << "Frame1" << "QGroupBox" << "Area Type";
    QTest::newRow("Frame2") << "Frame2" << "QGroupBox" << "Exit Pathways";
    for (int i = 1; i <= 4; ++i) {
        QTest::addRow("Check%d", i) << QString("Check%1").arg(i) << "QCheckBox" << "";
        QTest::addRow("Combo%d", i) << QString("Combo%1").arg(i) << "QComboBox" << "";
    }
    for (int i = 1; i <= 7; ++i)
        QTest::addRow("Text%d", i) << QString("Text%1").arg(i) << (i == 2 ? "QLineEdit" : "QPlainTextEdit") << "";
    for (int i = 1; i <= 3; ++i)
        QTest::addRow("List%d", i) << QString("List%1").arg(i) << "QListWidget" << "";
    for (const char *text : {"Area Narrative", "Items in Area (Dbl Click to remove)", "Unused Items (Dbl Click to add)",
                             "Level File", "New Level Narrative", "Required Item to Pass", "Lockout Narrative", "North",
                             "South", "East", "West"})
        QTest::newRow(text) << "" << "QLabel" << text;
}

void TestAreaStatsDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);

    open(2, 3, true);
    QCOMPARE(dialog->objectName(), QString("AreaStatsDialog"));
    QCOMPARE(dialog->windowTitle(), QString("Area Stats"));
    QVERIFY(!dialog->isModal());

    if (name.isEmpty()) {
        const QList<QLabel *> labels = dialog->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.cbegin(), labels.cend(),
                            [&caption](const QLabel *label) { return label->text() == caption && label->isVisible(); }));
        return;
    }
    QWidget *widget = find<QWidget>(name);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
    QCOMPARE(widget->isVisible(), name != "List3");
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), caption);
    if (auto *frame = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(frame->title(), caption);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        QVERIFY(combo->isEditable());
}

void TestAreaStatsDialog::opensRecord()
{
    open(2, 3, true);

    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->rowpos, 2);
    QCOMPARE(dialog->colpos, 3);
    QCOMPARE(find<QPlainTextEdit>("Text1")->toPlainText(), QString("Dark hall.\nIt is cold."));
    QVERIFY(find<QCheckBox>("Check1")->isChecked());
    QCOMPARE(find<QComboBox>("Combo1")->currentText(), QString());
    QVERIFY(find<QCheckBox>("Check2")->isChecked());
    QCOMPARE(find<QComboBox>("Combo2")->currentText(), QString("key"));
    QCOMPARE(find<QComboBox>("Combo2")->count(), 3); // lamp, key, coin
    QCOMPARE(find<QPlainTextEdit>("Text5")->toPlainText(), QString(" The gate is shut."));
    QVERIFY(!find<QCheckBox>("Check3")->isChecked());
    QCOMPARE(entries(find<QListWidget>("List1")), QStringList{"lamp"});
    QCOMPARE(entries(find<QListWidget>("List2")), (QStringList{"key", "coin"}));
    QVERIFY(find<QRadioButton>("Option4")->isChecked());

    // The saved "~" became a line break in the document, and stays one after Cancel.
    const QString converted = QString(DarkHall).replace("~", "\r\n");
    QCOMPARE(toQString(document->locdata({2, 3}).text()), converted);
    QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(toQString(document->locdata({2, 3}).text()), converted);
    QVERIFY(platform->events.isEmpty());
}

void TestAreaStatsDialog::openingResetsEdits()
{
    open(2, 3, true);
    QTest::keyClicks(find<QPlainTextEdit>("Text1"), "more");
    find<QCheckBox>("Check3")->click();
    QTest::keyClicks(find<QComboBox>("Combo3")->lineEdit(), "coin");
    QTest::keyClicks(find<QPlainTextEdit>("Text6"), "Pay.");
    find<QRadioButton>("Option2")->click();
    QTest::keyClicks(find<QLineEdit>("Text2"), "cave.qw");
    QTest::keyClicks(find<QPlainTextEdit>("Text3"), "Down.");
    doubleClick(find<QListWidget>("List1"), 0);
    QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);

    // An empty location on a grey button: nothing of the cancelled edits shows.
    open(5, 5, false);
    QVERIFY(find<QRadioButton>("Option5")->isChecked());
    for (int i = 1; i <= 7; ++i) {
        const QString name = QString("Text%1").arg(i);
        const QString text = i == 2 ? find<QLineEdit>(name)->text() : find<QPlainTextEdit>(name)->toPlainText();
        QVERIFY2(text.isEmpty(), qPrintable(name));
    }
    for (int i = 1; i <= 4; ++i) {
        QVERIFY(!find<QCheckBox>(QString("Check%1").arg(i))->isChecked());
        QCOMPARE(find<QComboBox>(QString("Combo%1").arg(i))->currentText(), QString());
    }
    QCOMPARE(entries(find<QListWidget>("List1")), QStringList{});
    QCOMPARE(entries(find<QListWidget>("List2")), (QStringList{"key", "coin"}));
    QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);

    // And the first location opens from its record again.
    open(2, 3, true);
    QCOMPARE(find<QPlainTextEdit>("Text1")->toPlainText(), QString("Dark hall.\nIt is cold."));
    QVERIFY(!find<QCheckBox>("Check3")->isChecked());
    QCOMPARE(entries(find<QListWidget>("List1")), QStringList{"lamp"});
    QVERIFY(find<QRadioButton>("Option4")->isChecked());
}

void TestAreaStatsDialog::typeColours_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QList<quint32>>("colours");

    QTest::newRow("Not Used") << "Option5" << QList<quint32>{ButtonFace};
    QTest::newRow("Not Used, then Normal/Used") << "Option5 Option4" << QList<quint32>{ButtonFace, Black};
    QTest::newRow("Start") << "Option1" << QList<quint32>{};
    QTest::newRow("End/Win, then Not Used") << "Option3 Option5" << QList<quint32>{ButtonFace};
}

void TestAreaStatsDialog::typeColours()
{
    QFETCH(QString, option);
    open(2, 3, true);
    Marks marks(*document, {2, 3});

    for (const QString &name : option.split(' '))
        QTest::mouseClick(find<QRadioButton>(name), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);

    QTEST(marks.colours, "colours");
}

void TestAreaStatsDialog::narrativeRule_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QList<quint32>>("colours");

    QTest::newRow("text on an unused location") << "Option5" << "A" << "Option4" << QList<quint32>{Black};
    QTest::newRow("blanks on an unused location") << "Option5" << "   " << "Option5" << QList<quint32>{};
    QTest::newRow("text on a start location") << "Option1" << "A" << "Option1" << QList<quint32>{};
}

void TestAreaStatsDialog::narrativeRule()
{
    QFETCH(QString, option);
    QFETCH(QString, typed);

    open(7, 7, false);
    find<QRadioButton>(option)->click();
    Marks marks(*document, {7, 7});
    QTest::keyClicks(find<QPlainTextEdit>("Text1"), typed);

    QFETCH(QString, selected);
    QVERIFY(find<QRadioButton>(selected)->isChecked());
    QTEST(marks.colours, "colours");
}

void TestAreaStatsDialog::listMoves()
{
    open(2, 3, true);
    auto *here = find<QListWidget>("List1");
    auto *unused = find<QListWidget>("List2");

    doubleClick(here, 0);
    QCOMPARE(entries(here), QStringList{});
    QCOMPARE(entries(unused), (QStringList{"key", "coin", "lamp"}));
    QTest::mouseDClick(here->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); // nothing to move
    QCOMPARE(entries(unused), (QStringList{"key", "coin", "lamp"}));
    doubleClick(unused, 0);
    doubleClick(unused, 1);
    QCOMPARE(entries(here), (QStringList{"key", "lamp"}));
    QCOMPARE(entries(unused), QStringList{"coin"});

    QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);
    QVERIFY(toQString(document->locdata({2, 3}).text()).endsWith("|ITEM B|ITEM A|"));
    QVERIFY(document->placed()[0]);
    QVERIFY(document->placed()[1]);
    QVERIFY(!document->placed()[3]);
}

void TestAreaStatsDialog::commitsWithWarnings()
{
    QSignalSpy located(document, &LevelDocument::locationChanged);
    open(4, 4, false);

    auto *narrative = find<QPlainTextEdit>("Text1");
    QTest::keyClicks(narrative, "Cave");
    QTest::keyClick(narrative, Qt::Key_Return);
    QTest::keyClicks(narrative, "mouth|");
    for (int i = 1; i <= 4; ++i) {
        find<QCheckBox>(QString("Check%1").arg(i))->click();
        QTest::keyClicks(find<QComboBox>(QString("Combo%1").arg(i))->lineEdit(), i == 4 ? "sword" : "key");
    }
    QTest::keyClicks(find<QPlainTextEdit>("Text5"), "  Locked. ");
    find<QRadioButton>("Option2")->click();
    // Enter in the level file box does not press OK.
    QTest::keyClick(find<QLineEdit>("Text2"), Qt::Key_Return);
    QVERIFY(dialog->isVisible());

    QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(toQString(document->locdata({4, 4}).text()), QString("Cave\r\nmouth/|PATH N REQUIRES=B |PATH S REQUIRES=B Locked.|"
                                              "PATH E REQUIRES=B |PATH W|LOADLEVEL  COMMENT=|"));
    QCOMPARE(platform->texts(ScriptedPlatform::Kind::Inform),
             (QStringList{"Warning: the north path requires a key but gives no reason to the player!\r\n"
                          "Please consider adding a Lockout Narrative.",
                          "Warning: the east path requires a key but gives no reason to the player!\r\n"
                          "Please consider adding a Lockout Narrative.",
                          "Warning: the west path requires a sword but there is no item of that name!\r\n"
                          "The path has been stored without a required item.",
                          "You are loading a new level but you are not telling the player!\r\n"
                          "Please consider adding a New Level Narrative.",
                          "Warning: this area type is a 'load new level' but you have not specified the level "
                          "file name!"}));
    // Marked when opened, in use once the narrative was typed, then committed.
    QCOMPARE(located.size(), 3);
    QCOMPARE(located.last().at(0).value<GridRef>(), (GridRef{4, 4}));
    QVERIFY(document->inUse({4, 4}));
    QVERIFY(document->pictured({4, 4}));
}

void TestAreaStatsDialog::requiredItemAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("warnings");
    // Item A is "keyring", B "key": a completion would turn "key" into A.
    QTest::newRow("the shorter name") << "key" << "PATH N REQUIRES=B Locked.|" << QStringList{};
    QTest::newRow("the longer name") << "keyring" << "PATH N REQUIRES=A Locked.|" << QStringList{};
    QTest::newRow("the start of a name")
        << "ke" << "PATH N|"
        << QStringList{"Warning: the north path requires a ke but there is no item of that name!\r\n"
                       "The path has been stored without a required item."};
}

void TestAreaStatsDialog::requiredItemAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, path);
    QFETCH(QStringList, warnings);
    document->updateitems({U"keyring", U"key", U"", U"coin"}, {});
    open(4, 4, false);
    QTest::keyClicks(find<QPlainTextEdit>("Text1"), "Hall");
    find<QCheckBox>("Check1")->click();
    // Typed as the author types: into the box that has the focus.
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    find<QComboBox>("Combo1")->setFocus();
    QVERIFY(find<QComboBox>("Combo1")->lineEdit()->hasFocus());
    QTest::keyClicks(find<QComboBox>("Combo1")->lineEdit(), typed);
    QTest::keyClicks(find<QPlainTextEdit>("Text4"), "Locked.");
    QCOMPARE(find<QComboBox>("Combo1")->currentText(), typed);
    QTest::mouseClick(find<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(toQString(document->locdata({4, 4}).text()), "Hall|" + path);
    QCOMPARE(platform->texts(ScriptedPlatform::Kind::Inform), warnings);
}

void TestAreaStatsDialog::closingCommitsNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "Cancel";
    QTest::newRow("close button") << "close";
    QTest::newRow("Escape") << "Escape";
}

void TestAreaStatsDialog::closingCommitsNothing()
{
    QFETCH(QString, how);
    open(2, 3, true);
    const QString before = toQString(document->locdata({2, 3}).text());
    QTest::keyClick(find<QPlainTextEdit>("Text1"), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(find<QPlainTextEdit>("Text1"), " Wet.");
    find<QRadioButton>("Option5")->click();

    if (how == "Cancel")
        QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton);
    else if (how == "close")
        dialog->close();
    else
        QTest::keyClick(find<QPlainTextEdit>("Text1"), Qt::Key_Escape);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(toQString(document->locdata({2, 3}).text()), before);
    QVERIFY(document->placed()[0]);
    QVERIFY(platform->events.isEmpty());
    // Hidden, the boxes still hold what the author left in them.
    QCOMPARE(find<QPlainTextEdit>("Text1")->toPlainText(), QString("Dark hall.\nIt is cold. Wet."));
    QVERIFY(find<QRadioButton>("Option5")->isChecked());
}

// List3 is only a view: the non-blank names, in letter order, as the
// document holds them now.
void TestAreaStatsDialog::nameListFollowsTheDocument()
{
    auto *list = find<QListWidget>("List3");
    QCOMPARE(entries(list), (QStringList{"lamp", "key", "coin"}));
    document->updateitems({U"  ", U" key ", U"", U"coin", U"coin"}, {});
    QCOMPARE(entries(list), (QStringList{" key ", "coin", "coin"}));

    QTemporaryDir folder;
    const QString path = folder.filePath("level.qw");
    QVERIFY(TestFiles::write(path, TestFiles::level({"[ITEMS]", "A oil", "B  ", "C wick", ""})));
    QCOMPARE(document->loadgame(path), QString());
    QCOMPARE(entries(list), (QStringList{"oil", "wick"}));
}

void TestAreaStatsDialog::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    // The caption where the control has one, else the label beside it.
    const char *captions[] = {"Start", "Load New Level  (specify below)", "End/Win", "Normal/Used", "Not Used"};
    for (int i = 1; i <= 5; ++i)
        QTest::addRow("Option%d", i) << QString("Option%1").arg(i) << captions[i - 1];
    QTest::newRow("Text1") << "Text1" << "Area Narrative";
    QTest::newRow("Text2") << "Text2" << "Level File";
    QTest::newRow("Text3") << "Text3" << "New Level Narrative";
    QTest::newRow("List1") << "List1" << "Items in Area (Dbl Click to remove)";
    QTest::newRow("List2") << "List2" << "Unused Items (Dbl Click to add)";
    const char *rows[] = {"North", "South", "East", "West"};
    for (int d = 1; d <= 4; ++d) {
        QTest::addRow("Check%d", d) << QString("Check%1").arg(d) << rows[d - 1];
        QTest::addRow("Combo%d", d) << QString("Combo%1").arg(d) << QString("%1: Required Item to Pass").arg(rows[d - 1]);
        QTest::addRow("Text%d", d + 3) << QString("Text%1").arg(d + 3) << QString("%1: Lockout Narrative").arg(rows[d - 1]);
    }
    QTest::newRow("Command1") << "Command1" << "OK";
    QTest::newRow("Command2") << "Command2" << "Cancel";
}

void TestAreaStatsDialog::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    open(2, 3, true);
    QWidget *control = find<QWidget>(name);
    // An editable box's edit part takes the focus and is read by that name;
    // the box itself gives its text as its name on this desktop.
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        QCOMPARE(combo->accessibleName(), spoken);
        control = combo->lineEdit();
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), spoken);
}

// Tab runs through the form as it reads, and every stop is named.
void TestAreaStatsDialog::tabOrder()
{
    open(2, 3, true);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    // The type options are one stop, at the one selected.
    QStringList expected{"Option4", "Text2", "Text3", "Text1", "List1", "List2"};
    for (int d = 1; d <= 4; ++d)
        expected << QString("Check%1").arg(d) << QString("Combo%1").arg(d) << QString("Text%1").arg(d + 3);
    expected << "Command2" << "Command1" << "Option4";
    find<QRadioButton>("Option4")->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY2(!QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name).isEmpty(),
                 qPrintable(focus->objectName()));
        // The edit part of a required-item box stands for its box.
        QWidget *owner = focus;
        while (owner && owner->objectName().isEmpty())
            owner = owner->parentWidget();
        visited << (owner ? owner->objectName() : QString());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TestAreaStatsDialog::enterMovesAnEntry()
{
    open(2, 3, true);
    auto *here = find<QListWidget>("List1");
    auto *unused = find<QListWidget>("List2");
    unused->setCurrentRow(1);
    QTest::keyClick(unused, Qt::Key_Return);
    QCOMPARE(entries(here), (QStringList{"lamp", "coin"}));
    QCOMPARE(entries(unused), QStringList{"key"});
    here->setCurrentRow(0);
    QTest::keyClick(here, Qt::Key_Enter);
    QCOMPARE(entries(here), QStringList{"coin"});
    QCOMPARE(entries(unused), (QStringList{"key", "lamp"}));
    // Nothing current, nothing moves; and the dialog stays open.
    unused->clear();
    QTest::keyClick(unused, Qt::Key_Return);
    QCOMPARE(entries(here), QStringList{"coin"});
    QVERIFY(dialog->isVisible());
    QCOMPARE(document->locdata({2, 3}).text(), toText(QString(DarkHall).replace("~", "\r\n")));
}

QTEST_MAIN(TestAreaStatsDialog)
#include "tst_areastatsdialog.moc"
