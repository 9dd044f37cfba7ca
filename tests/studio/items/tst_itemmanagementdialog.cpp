// SPDX-License-Identifier: MIT
#include "itemmanagementdialog.h"
#include "leveldocument.h"
#include "qtext.h"
#include "testfiles.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

// Geometry is given in twips, 15 to a pixel.
QRect pixels(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

int rowTop(int k)
{
    return 600 + 240 * (k - 1);
}

QString letter(int k)
{
    return QString(QChar(u'A' + k - 1));
}

// A rule's character, or nothing where the row has none.
QString character(char32_t c)
{
    return c == 0 ? QString() : toQString(TextView(&c, 1));
}

QStringList ruleLines(const std::vector<Combo> &rules)
{
    QStringList lines;
    for (const Combo &rule : rules)
        lines << toQString(rule.line());
    return lines;
}

} // namespace

class TestItemManagementDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void tabOrder();
    void commit_data();
    void commit();
    void loadedLevel();
    void lettersOncePerMapLine();
    void dismissKeepsEdits_data();
    void dismissKeepsEdits();
    void pastedLineBreaks_data();
    void pastedLineBreaks();
    void accessibleNames();

private:
    template<typename T>
    T *control(const QString &name) const;
    void type(const QString &name, const QString &text);
    void clickOk();
    QString load(const QStringList &lines);
    QStringList names() const;
    QStringList rules() const;

    std::unique_ptr<QWidget> mapWindow;
    std::unique_ptr<LevelDocument> document;
    ItemManagementDialog *dialog = nullptr;
    QTemporaryDir dir;
};

// A document that already holds names and rules, so every test sees what
// "OK" replaced.
void TestItemManagementDialog::init()
{
    mapWindow = std::make_unique<QWidget>();
    document = std::make_unique<LevelDocument>();
    document->updateitems({U"old key", U"old lamp"}, {Combo::fromLine(U"X+Y=Z"), Combo::fromLine(U"Y+X=W")});
    dialog = new ItemManagementDialog(*document, mapWindow.get());
}

void TestItemManagementDialog::cleanup()
{
    mapWindow.reset();
    document.reset();
}

template<typename T>
T *TestItemManagementDialog::control(const QString &name) const
{
    T *widget = dialog->findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

// Types into a name box or the edit part of an ingredient box, replacing what
// it held, the way the author does.
void TestItemManagementDialog::type(const QString &name, const QString &text)
{
    QWidget *box = dialog->findChild<QWidget *>(name);
    QVERIFY2(box, qPrintable(name));
    if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->lineEdit()->selectAll();
    else if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void TestItemManagementDialog::clickOk()
{
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
}

// Reads a level with these lines after its map section into the document.
QString TestItemManagementDialog::load(const QStringList &lines)
{
    const QString path = dir.filePath(QStringLiteral("small.qw"));
    if (!TestFiles::write(path, TestFiles::level(lines)))
        qFatal("cannot write %s", qPrintable(path));
    return document->loadgame(path);
}

QStringList TestItemManagementDialog::names() const
{
    QStringList all;
    for (const Text &name : document->itemnames())
        all << toQString(name);
    return all;
}

// The rows of the combination table, as "row:first,second,result".
QStringList TestItemManagementDialog::rules() const
{
    QStringList all;
    int n = 0;
    for (const Combo &c : document->combotable())
        all << QStringLiteral("%1:%2,%3,%4").arg(++n).arg(character(c.first), character(c.second), character(c.result));
    return all;
}

void TestItemManagementDialog::layout_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("alignment"); // labels only, else 0
    QTest::addColumn<bool>("bold");

    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const int centre = Qt::AlignCenter;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("Label79") << "QLabel" << "Item" << pixels(720, 360, 3015, 255) << left << false;
    QTest::newRow("Label80") << "QLabel" << "Created by using..." << pixels(3840, 360, 1455, 255) << left << false;
    for (int k = 1; k <= 26; ++k) {
        const int top = rowTop(k);
        const QByteArray n = QByteArray::number(k);
        QTest::newRow("Label" + n) << "QLabel" << letter(k) << pixels(120, top, 495, 255) << right << true;
        QTest::newRow("Text" + n) << "QLineEdit" << "" << pixels(720, top, 3015, 285) << 0 << false;
        QTest::newRow("Label" + QByteArray::number(26 + k))
            << "QLabel" << "=" << pixels(3840, top, 255, 255) << centre << true;
        QTest::newRow("Combo" + n) << "QComboBox" << "" << pixels(4200, top, 495, 315) << 0 << false;
        QTest::newRow("Label" + QByteArray::number(52 + k))
            << "QLabel" << "+" << pixels(4800, top, 255, 255) << centre << true;
        QTest::newRow("Combo" + QByteArray::number(26 + k))
            << "QComboBox" << "" << pixels(5160, top, 495, 315) << 0 << false;
    }
    QTest::newRow("Command1") << "QPushButton" << "OK" << pixels(4560, 7080, 1095, 375) << 0 << false;
    QTest::newRow("Command2") << "QPushButton" << "Cancel" << pixels(3480, 7080, 975, 375) << 0 << false;
}

void TestItemManagementDialog::layout()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, rect);
    QFETCH(int, alignment);
    QFETCH(bool, bold);

    QCOMPARE(dialog->objectName(), QStringLiteral("ItemManagementDialog"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Item Management"));
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->size(), QSize(6120 / 15, 7590 / 15));

    QWidget *widget = dialog->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(widget->metaObject()->className(), kind);
    QCOMPARE(widget->geometry(), rect);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(int(label->alignment()), alignment);
        QCOMPARE(label->font().bold(), bold);
    } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), caption);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        QCOMPARE(edit->text(), caption);
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->currentText(), caption);
        QCOMPARE(combo->count(), 0);
    }
}

void TestItemManagementDialog::tabOrder()
{
    QStringList expected;
    for (int k = 1; k <= 26; ++k)
        expected << QStringLiteral("Text%1").arg(k);
    expected << QStringLiteral("Command1");
    for (int n = 1; n <= 52; ++n)
        expected << QStringLiteral("Combo%1").arg(n);
    expected << QStringLiteral("Command2") << QStringLiteral("Text1");

    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    control<QLineEdit>(QStringLiteral("Text1"))->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        // The edit part of an ingredient box stands for its box.
        QWidget *owner = QApplication::focusWidget();
        while (owner && owner->objectName().isEmpty())
            owner = owner->parentWidget();
        visited << (owner ? owner->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

// The dialog is as for a new level: nothing has filled the lists, and the
// letters are typed.
void TestItemManagementDialog::commit_data()
{
    QTest::addColumn<QStringList>("typed"); // control name, text, control name, text...
    QTest::addColumn<QStringList>("pending"); // the rules as lines
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QStringList>("names"); // item 1 onwards, the rest empty

    QTest::newRow("every box empty") << QStringList() << QStringList() << QStringList() << QStringList();
    QTest::newRow("C from A and B") << QStringList{"Combo3", "A", "Combo29", "B"} << QStringList{"A+B=C"}
                                    << QStringList{"1:A,B,C"} << QStringList();
    QTest::newRow("rows in letter order")
        << QStringList{"Combo26", "A", "Combo52", "B", "Combo13", "E", "Combo39", "F", "Combo1", "C", "Combo27", "D"}
        << QStringList{"C+D=A", "E+F=M", "A+B=Z"} << QStringList{"1:C,D,A", "2:E,F,M", "3:A,B,Z"} << QStringList();
    QTest::newRow("blank first box, no rule")
        << QStringList{"Combo3", "", "Combo29", "B", "Combo4", "  ", "Combo30", "C"} << QStringList() << QStringList()
        << QStringList();
    QTest::newRow("empty second box")
        << QStringList{"Combo3", "A"} << QStringList{"A+=="} << QStringList{"1:A,=,"} << QStringList();
    QTest::newRow("longer texts read by position")
        << QStringList{"Combo4", "AB", "Combo30", "C"} << QStringList{"A++=="} << QStringList{"1:A,+,="}
        << QStringList();
    QTest::newRow("names stored with their blanks")
        << QStringList{"Text1", "  brass key  ", "Text2", "lamp", "Text3", "  "} << QStringList() << QStringList()
        << QStringList{"  brass key  ", "lamp", "  "};
}

void TestItemManagementDialog::commit()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, pending);
    QFETCH(QStringList, rules);
    QFETCH(QStringList, names);

    dialog->show();
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2)
        type(typed.at(i), typed.at(i + 1));
    clickOk();

    QVERIFY(!dialog->isVisible());
    QCOMPARE(ruleLines(dialog->pending), pending);
    QCOMPARE(this->rules(), rules);
    while (names.size() < 26)
        names << QString();
    QCOMPARE(this->names(), names);
}

// A level read from a file fills the boxes from the document; "OK" then
// commits what the rows show, in letter order.
void TestItemManagementDialog::loadedLevel()
{
    const QStringList lines = QStringList{QStringLiteral("[ITEMS]")} << QStringLiteral("A brass-key") << QStringLiteral("B  lamp ")
          << QStringLiteral("C oil") << QString() << QStringLiteral("[COMBOS]") << QStringLiteral("A+B=Z")
          << QStringLiteral("C+D=G") << QStringLiteral("E+F=Z") << QStringLiteral("X+Y=1") << QString();
    control<QLineEdit>(QStringLiteral("Text4"))->setText(QStringLiteral("kept"));
    QCOMPARE(load(lines), QString());

    QCOMPARE(control<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("brass-key"));
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text2"))->text(), QStringLiteral(" lamp "));
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text4"))->text(), QStringLiteral("kept"));
    QStringList letters;
    for (int k = 1; k <= 26; ++k)
        letters << letter(k);
    // G's rule in row G; of the two rules for Z the later shows; the rest stay
    // empty although their lists now hold the letters.
    for (int n = 1; n <= 52; ++n) {
        auto *combo = control<QComboBox>(QStringLiteral("Combo%1").arg(n));
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, letters);
        const QString expected = n == 7 ? "C" : n == 33 ? "D" : n == 26 ? "E" : n == 52 ? "F" : "";
        QCOMPARE(combo->currentText(), expected);
    }

    dialog->show();
    // Choosing from the list is the same as typing: "H" and "I" for row B.
    auto *first = control<QComboBox>(QStringLiteral("Combo2"));
    first->setCurrentIndex(first->findText(QStringLiteral("H")));
    type(QStringLiteral("Combo28"), QStringLiteral("I"));
    clickOk();

    QCOMPARE(rules(), (QStringList{"1:H,I,B", "2:C,D,G", "3:E,F,Z"}));
    QCOMPARE(names().mid(0, 5), (QStringList{"brass-key", " lamp ", "oil", "kept", ""}));
}

// Each "[MAP]" line appends the letters again and leaves the texts alone;
// the rule's second box shows nothing where its line has no character.
void TestItemManagementDialog::lettersOncePerMapLine()
{
    QCOMPARE(load({QStringLiteral("[MAP]"), QStringLiteral("[COMBOS]"), QStringLiteral("A+"), QStringLiteral("D+ =C"),
                   QString()}),
             QString());
    auto *first = control<QComboBox>(QStringLiteral("Combo3"));
    auto *second = control<QComboBox>(QStringLiteral("Combo29"));
    QCOMPARE(first->count(), 52);
    QCOMPARE(first->itemText(26), QStringLiteral("A"));
    QCOMPARE(first->currentText(), QStringLiteral("D"));
    QCOMPARE(second->currentText(), QStringLiteral(" "));
    QCOMPARE(control<QComboBox>(QStringLiteral("Combo1"))->currentText(), QString());
}

void TestItemManagementDialog::dismissKeepsEdits_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "Cancel";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("close button") << "close button";
}

void TestItemManagementDialog::dismissKeepsEdits()
{
    QFETCH(QString, how);

    QPointer<ItemManagementDialog> alive(dialog);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    type(QStringLiteral("Text2"), QStringLiteral("brass lamp"));
    type(QStringLiteral("Combo2"), QStringLiteral("C"));
    type(QStringLiteral("Combo28"), QStringLiteral("D"));

    if (how == QLatin1String("Cancel"))
        QTest::mouseClick(control<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
    else if (how == QLatin1String("Escape"))
        QTest::keyClick(control<QLineEdit>(QStringLiteral("Text2")), Qt::Key_Escape);
    else
        dialog->windowHandle()->close(); // what the window frame's button does
    QCoreApplication::processEvents();

    QVERIFY(alive);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(toQString(document->itemnames()[1]), QStringLiteral("old lamp"));
    QCOMPARE(rules(), (QStringList{"1:X,Y,Z", "2:Y,X,W"}));

    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text2"))->text(), QStringLiteral("brass lamp"));
    QCOMPARE(control<QComboBox>(QStringLiteral("Combo2"))->currentText(), QStringLiteral("C"));
    QCOMPARE(control<QComboBox>(QStringLiteral("Combo28"))->currentText(), QStringLiteral("D"));
    clickOk();
    QCOMPARE(toQString(document->itemnames()[1]), QStringLiteral("brass lamp"));
    QCOMPARE(rules(), QStringList{"1:C,D,B"});
}

void TestItemManagementDialog::pastedLineBreaks_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("name over two lines") << "Text1" << "brass\nkey" << "brass key" << "brass key" << QStringList();
    QTest::newRow("ingredient and a break") << "Combo3" << "A\n" << "A " << "" << QStringList{"A+=="};
}

// A line break in an item's name or a rule would split its line in the file.
void TestItemManagementDialog::pastedLineBreaks()
{
    QFETCH(QString, box);
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    QFETCH(QString, name);
    QFETCH(QStringList, pending);

    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QWidget *widget = dialog->findChild<QWidget *>(box);
    widget->setFocus();
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keySequence(widget, QKeySequence::Paste);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        QCOMPARE(combo->currentText(), shown);
    else
        QCOMPARE(qobject_cast<QLineEdit *>(widget)->text(), shown);

    clickOk();
    QCOMPARE(toQString(document->itemnames()[0]), name);
    QCOMPARE(ruleLines(dialog->pending), pending);
}

// Every stop of the focus is named for a screen reader, each name once.
void TestItemManagementDialog::accessibleNames()
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    control<QLineEdit>(QStringLiteral("Text1"))->setFocus();
    QStringList spoken;
    for (int stop = 0; stop < 2 * 26 + 26 + 2; ++stop) {
        QWidget *focus = QApplication::focusWidget();
        spoken << QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(spoken.at(0), QStringLiteral("Name of item A"));
    QCOMPARE(spoken.at(2), QStringLiteral("Name of item C"));
    QCOMPARE(spoken.at(26), QStringLiteral("OK"));
    QCOMPARE(spoken.at(27 + 2), QStringLiteral("First ingredient of C"));
    QCOMPARE(spoken.at(27 + 26 + 2), QStringLiteral("Second ingredient of C"));
    QCOMPARE(spoken.last(), QStringLiteral("Cancel"));
    QCOMPARE(QSet<QString>(spoken.cbegin(), spoken.cend()).size(), spoken.size());
}

QTEST_MAIN(TestItemManagementDialog)
#include "tst_itemmanagementdialog.moc"
