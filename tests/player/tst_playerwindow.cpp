// SPDX-License-Identifier: MIT
#include "gamefiles.h"
#include "gamefileactions.h"
#include "playerwindow.h"
#include "qtplatform.h"
#include "scriptedplatform.h"

#include <QAccessible>
#include <QApplication>
#include <QAction>
#include <QClipboard>
#include <QCryptographicHash>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using Answer = Platform::Answer;

// Types into the console of a real window, under the offscreen platform; the
// scripted platform answers the message boxes.
class TestPlayerWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void looks();
    void play_data();
    void play();
    void stops_data();
    void stops();
    void closing();
    void walkthrough_data();
    void walkthrough();
    void keysWaitForTheWalkthrough();
    void fontSize_data();
    void fontSize();
    void announcesTurns();
    void answersFromKeyboard_data();
    void answersFromKeyboard();
    void typesAtTheEnd_data();
    void typesAtTheEnd();
    void savedGames_data();
    void savedGames();
    void hint_data();
    void hint();

private:
    // Shows a window on a level and a language file of the test folder and
    // waits until the game has started; the scripted platform unless another
    // is given.
    void open(const QString &level, const QString &language, Platform *desktop = nullptr);
    void type(const QString &line, Qt::Key enter = Qt::Key_Return);
    // Triggers an action of the console's context menu.
    void act(const QString &name);
    QString console() const { return Text1->toPlainText(); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<PlayerWindow> window;
    QPlainTextEdit *Text1 = nullptr;
};

void TestPlayerWindow::initTestCase()
{
    // The remembered text size goes to the test's folder, never to the
    // user's own settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
    QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Player")).clear();
    GameFiles::write(dir.path(), "a.qw", GameFiles::adventure());
    GameFiles::write(dir.path(), "field.qw", GameFiles::field());
    GameFiles::write(dir.path(), "nostart.qw", GameFiles::crlf({"[LOCATION 1A]", "Cell.", ""}));
    GameFiles::write(dir.path(), "Language.txt", GameFiles::language({{"English", GameFiles::english()}}));
    QStringList german = GameFiles::english();
    german[11] = "Ausgang";
    GameFiles::write(dir.path(), "two.txt", GameFiles::language({{"English", GameFiles::english()}, {"Deutsch", german}}));
}

void TestPlayerWindow::init()
{
    window.reset();
    platform = ScriptedPlatform();
    // As a test may have changed them.
    GameFiles::write(dir.path(), "a.qw", GameFiles::adventure());
    GameFiles::write(dir.path(), "Language.txt", GameFiles::language({{"English", GameFiles::english()}}));
}

void TestPlayerWindow::open(const QString &level, const QString &language, Platform *desktop)
{
    window = std::make_unique<PlayerWindow>(desktop ? *desktop : platform,
        Game::Setup{dir.filePath(level).toStdString(), {}, dir.filePath(language).toStdString()});
    Text1 = window->findChild<QPlainTextEdit *>("Text1");
    QVERIFY(Text1);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_VERIFY(console().endsWith('>') || !platform.events.isEmpty());
}

void TestPlayerWindow::type(const QString &line, Qt::Key enter)
{
    QTest::keyClicks(Text1, line);
    QTest::keyClick(Text1, enter);
}

void TestPlayerWindow::act(const QString &name)
{
    auto *action = Text1->findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    action->trigger();
}

void TestPlayerWindow::looks()
{
    open("a.qw", "Language.txt");
    QCOMPARE(window->objectName(), "PlayerWindow");
    QCOMPARE(window->windowTitle(), "TEXT PUZZLE QUILLMOOR");
    QCOMPARE(Text1->font().family(), "Courier New");
    QCOMPARE(Text1->font().pointSize(), 12);
    QCOMPARE(Text1->font().styleHint(), QFont::Monospace);
    QCOMPARE(Text1->palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(Text1->palette().color(QPalette::Text), QColor(0, 255, 0));
    QCOMPARE(Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(Text1->geometry(), window->rect());
    QCOMPARE(Text1->textCursor().position(), console().size());
    // The window's commands follow the text box's in the console's menu.
    QContextMenuEvent click(QContextMenuEvent::Keyboard, {4, 4}, Text1->viewport()->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(Text1->viewport(), &click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QStringList actions;
    for (const QAction *action : menu->actions())
        actions += action->objectName() + ' ' + action->shortcut().toString();
    menu->close();
    QVERIFY(actions.contains("edit-copy "));
    QCOMPARE(actions.mid(actions.size() - 4),
             QStringList({"actionSaveGame Ctrl+S", "actionRestoreGame Ctrl+O", "actionRestart ", "actionHint F1"}));
}

void TestPlayerWindow::play_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("console"); // when the window stays open
    QTest::addColumn<QStringList>("questions");

    const QString cell = "Cell.\nThere is an exit south. There is an exit east. ";
    const QStringList grapple{"take rope", "take hook", "combine rope with hook"};
    QTest::newRow("a command") << "Language.txt" << QStringList{"take ROPE"} << QList<Answer>{}
                               << "You take the rope.\n" + cell + "You see hook. \n>" << QStringList{};
    QTest::newRow("the language menu, then a command")
        << "two.txt" << QStringList{"", "2", "x"} << QList<Answer>{}
        << "I do not understand 'x'. Try HELP.\nCell.\nAusgang south. Ausgang east. You see rope. You see hook. \n>"
        << QStringList{};
    QTest::newRow("only the text after the last >")
        << "Language.txt" << QStringList{"n>e"} << QList<Answer>{}
        << "Yard.\nWind.\nThere is an exit north. There is an exit south. There is an exit east. There is an exit "
           "west. You see brass key. You see lamp. You see lamp. You see oil. You see pebble. \n>"
        << QStringList{};
    QTest::newRow("end of game answered No")
        << "Language.txt" << grapple + QStringList{"s"} << QList<Answer>{Answer::No}
        << "\nTop of the wall.\nYou have won!\nThere is an exit north. \n>" << QStringList{"End the game?"};
    QTest::newRow("end of game answered Yes closes the window")
        << "Language.txt" << grapple + QStringList{"s"} << QList<Answer>{Answer::Yes} << QString()
        << QStringList{"End the game?"};
    QTest::newRow("quit answered No") << "Language.txt" << QStringList{"quit"} << QList<Answer>{Answer::No}
                                      << "Then carry on.\n" + cell + "You see rope. You see hook. \n>"
                                      << QStringList{"Do you really want to quit?"};
    QTest::newRow("quit answered Yes closes the window")
        << "Language.txt" << QStringList{"q"} << QList<Answer>{Answer::Yes} << QString()
        << QStringList{"Do you really want to quit?"};
}

void TestPlayerWindow::play()
{
    QFETCH(QString, language);
    QFETCH(QStringList, lines);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, console);
    QFETCH(QStringList, questions);
    platform.answers.append(answers);
    open("a.qw", language);
    for (qsizetype i = 0; i < lines.size(); ++i)
        type(lines.at(i), i % 2 ? Qt::Key_Enter : Qt::Key_Return);
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Ask), questions);
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform), QStringList{});
    QCOMPARE(window->isVisible(), !console.isNull());
    if (!console.isNull()) {
        QCOMPARE(this->console(), console);
        QCOMPARE(Text1->textCursor().position(), console.size());
    }
}

void TestPlayerWindow::stops_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("message"); // $LEVEL: the level's path

    QTest::newRow("no start location") << "nostart.qw" << "The level \"$LEVEL\" has no start location.";
    // One box: start-up stops at the level it could not read.
    QTest::newRow("a level that is not there")
        << "none.qw" << "Cannot open the level file \"$LEVEL\": No such file or directory.";
    QTest::newRow("a file that is no level")
        << "Language.txt"
        << "\"$LEVEL\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no \"[ITEMS]\" "
           "or \"[COMBOS]\" section.";
}

void TestPlayerWindow::stops()
{
    QFETCH(QString, level);
    QFETCH(QString, message);
    open(level, "Language.txt");
    // The description and the command line, in one box.
    const QString path = dir.filePath(level);
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform),
             QStringList{message.replace("$LEVEL", path) + "\r\n" + path});
    // Inert: the window stays and takes no more commands.
    QVERIFY(window->isVisible());
    QVERIFY(Text1->isReadOnly());
    const QString shown = console();
    type("q");
    QCOMPARE(console(), shown);
    QCOMPARE(platform.events.size(), 1);
}

void TestPlayerWindow::closing()
{
    open("a.qw", "two.txt");
    QVERIFY(window->close());
    QVERIFY(platform.events.isEmpty());
}

void TestPlayerWindow::walkthrough_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("console"); // when the window stays open
    QTest::addColumn<QStringList>("questions");

    const QStringList grapple{"take rope", "take hook", "combine rope with hook", "s"};
    QTest::newRow("played to the end, which the user ends")
        << "Language.txt" << grapple << QList<Answer>{Answer::Yes} << QString() << QStringList{"End the game?"};
    QTest::newRow("played to the end, and the user plays on")
        << "Language.txt" << grapple << QList<Answer>{Answer::No}
        << "\nTop of the wall.\nYou have won!\nThere is an exit north. \n>" << QStringList{"End the game?"};
    QTest::newRow("the language chosen first")
        << "two.txt" << QStringList{"2", "take rope"} << QList<Answer>{}
        << "You take the rope.\nCell.\nAusgang south. Ausgang east. You see hook. \n>" << QStringList{};
    // Lines after a question wait for its answer, and then go on.
    QTest::newRow("a question answered between the lines")
        << "Language.txt" << QStringList{"quit", "take rope"} << QList<Answer>{Answer::No}
        << "You take the rope.\nCell.\nThere is an exit south. There is an exit east. You see hook. \n>"
        << QStringList{"Do you really want to quit?"};
    QTest::newRow("lines after the game has ended are not typed")
        << "Language.txt" << QStringList{"q", "take rope"} << QList<Answer>{Answer::Yes} << QString()
        << QStringList{"Do you really want to quit?"};
    QTest::newRow("no lines") << "Language.txt" << QStringList{} << QList<Answer>{}
                              << "Text Quillmoor Player: v1.0.1\nMade with the Quillmoor authoring kit\n\nDefault "
                                 "Language:\n[1] English\n\n>Cell.\nThere is an exit south. There is an exit east. "
                                 "You see rope. You see hook. \n>"
                              << QStringList{};
}

// The window types the lines itself, one at a time, as the user would.
void TestPlayerWindow::walkthrough()
{
    QFETCH(QString, language);
    QFETCH(QStringList, lines);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, console);
    QFETCH(QStringList, questions);
    platform.answers.append(answers);
    window = std::make_unique<PlayerWindow>(
        platform, Game::Setup{dir.filePath("a.qw").toStdString(), {}, dir.filePath(language).toStdString()});
    Text1 = window->findChild<QPlainTextEdit *>("Text1");
    std::vector<Text> typed;
    for (const QString &line : lines)
        typed.push_back(line.toStdU32String());
    window->typeLines(typed, std::chrono::milliseconds(20));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // Done when the window has closed, or all lines are typed and answered.
    QTRY_VERIFY(!window->isVisible() || (platform.events.size() == questions.size() && this->console() == console));
    QTest::qWait(100);
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Ask), questions);
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform), QStringList{});
    QCOMPARE(window->isVisible(), !console.isNull());
    if (!console.isNull())
        QCOMPARE(this->console(), console);
}

// Keys pressed while the lines are typed would be mixed into them; they are
// the user's again after the last line.
void TestPlayerWindow::keysWaitForTheWalkthrough()
{
    window = std::make_unique<PlayerWindow>(
        platform, Game::Setup{dir.filePath("a.qw").toStdString(), {}, dir.filePath("Language.txt").toStdString()});
    Text1 = window->findChild<QPlainTextEdit *>("Text1");
    window->typeLines({U"take rope", U"take hook"}, std::chrono::milliseconds(400));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_VERIFY(console().endsWith('>'));
    type("xyz");
    // Each line stands typed for a moment before its Enter.
    QTRY_VERIFY(console().endsWith(">take rope"));
    type("xyz");
    QVERIFY(!console().contains("xyz"));
    QTRY_VERIFY(console().startsWith("You take the hook."));
    type("i");
    QCOMPARE(console(), "You carry:\nrope\nhook\n\nCell.\nThere is an exit south. There is an exit east. \n>");
}

void TestPlayerWindow::fontSize_data()
{
    QTest::addColumn<QString>("stored"); // the remembered size before; empty: none
    QTest::addColumn<QList<QKeySequence>>("keys");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("remembered"); // after

    const QKeySequence plus(Qt::CTRL | Qt::Key_Plus);
    const QKeySequence minus(Qt::CTRL | Qt::Key_Minus);
    QTest::newRow("the default") << "" << QList<QKeySequence>{} << 12 << "";
    QTest::newRow("Ctrl+plus") << "" << QList<QKeySequence>{plus} << 13 << "13";
    QTest::newRow("Ctrl+= where plus needs Shift") << "" << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Equal)}
                                                   << 13 << "13";
    QTest::newRow("Ctrl and the keypad's plus")
        << "" << QList<QKeySequence>{QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus)} << 13 << "13";
    QTest::newRow("Ctrl+minus") << "" << QList<QKeySequence>{minus} << 11 << "11";
    QTest::newRow("Ctrl and the keypad's minus")
        << "" << QList<QKeySequence>{QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus)} << 11 << "11";
    QTest::newRow("the remembered size") << "20" << QList<QKeySequence>{} << 20 << "20";
    QTest::newRow("from the remembered size") << "20" << QList<QKeySequence>{minus, minus} << 18 << "18";
    QTest::newRow("Ctrl+0 goes back to the default")
        << "20" << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_0)} << 12 << "12";
    QTest::newRow("no larger than the largest") << "39" << QList<QKeySequence>{plus, plus, plus} << 40 << "40";
    QTest::newRow("no smaller than the smallest") << "9" << QList<QKeySequence>{minus, minus, minus} << 8 << "8";
    QTest::newRow("a size out of range, kept until changed") << "400" << QList<QKeySequence>{} << 40 << "400";
    QTest::newRow("a size out of range, then changed") << "-3" << QList<QKeySequence>{plus} << 9 << "9";
    QTest::newRow("no number") << "large" << QList<QKeySequence>{plus} << 13 << "13";
}

void TestPlayerWindow::fontSize()
{
    QFETCH(QString, stored);
    QFETCH(QList<QKeySequence>, keys);
    QFETCH(int, points);
    QFETCH(QString, remembered);
    const QString key = QStringLiteral("console/fontSize");
    {
        QSettings settings(QStringLiteral("Quillmoor"), QStringLiteral("Player"));
        settings.clear();
        if (!stored.isEmpty())
            settings.setValue(key, stored);
    }
    open("a.qw", "Language.txt");
    const QString shown = console();
    for (const QKeySequence &keySequence : keys)
        QTest::keySequence(Text1, keySequence);
    QCOMPARE(window->fontSize(), points);
    QCOMPARE(Text1->font().pointSize(), points);
    QCOMPARE(Text1->font().family(), "Courier New");
    // The keys change the size only: nothing is typed into the console.
    QCOMPARE(console(), shown);
    QCOMPARE(QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Player")).value(key).toString(), remembered);
    QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Player")).clear();
}

// A screen reader hears the console by its name, and each turn's new text as
// one insertion into it: each change of the console's document is what the
// text box reports to assistive technology as text inserted.
void TestPlayerWindow::announcesTurns()
{
    open("a.qw", "two.txt");
    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(Text1);
    QVERIFY(text);
    QCOMPARE(text->text(QAccessible::Name), "Console");
    QVERIFY(text->text(QAccessible::Description).contains("Type a command"));
    QCOMPARE(text->role(), QAccessible::EditableText);

    QStringList inserted;
    connect(Text1->document(), &QTextDocument::contentsChange, this, [&](int from, int, int added) {
        QTextCursor change(Text1->document());
        change.setPosition(from);
        change.setPosition(std::min(from + added, Text1->document()->characterCount() - 1), QTextCursor::KeepAnchor);
        if (change.hasSelection())
            inserted += change.selectedText().replace(QChar::ParagraphSeparator, '\n');
    });

    // The language chosen, the first turn comes as one text.
    QTest::keyClick(Text1, Qt::Key_2);
    inserted.clear();
    QTest::keyClick(Text1, Qt::Key_Return);
    QCOMPARE(inserted, QStringList({"\n", console()}));
    QVERIFY(console().startsWith("Cell.\n"));

    inserted.clear();
    type("take rope");
    QCOMPARE(inserted.size(), 11); // the nine keys and the line break typed, then the turn
    QCOMPARE(inserted.last(), console());
    QVERIFY(console().startsWith("You take the rope.\n"));
}

void TestPlayerWindow::answersFromKeyboard_data()
{
    QTest::addColumn<QList<QKeySequence>>("keys"); // pressed in the question's box
    QTest::addColumn<bool>("quits");

    QTest::newRow("Y") << QList<QKeySequence>{QKeySequence(Qt::Key_Y)} << true;
    QTest::newRow("N") << QList<QKeySequence>{QKeySequence(Qt::Key_N)} << false;
    QTest::newRow("Enter takes the default, Yes") << QList<QKeySequence>{QKeySequence(Qt::Key_Return)} << true;
    QTest::newRow("Escape") << QList<QKeySequence>{QKeySequence(Qt::Key_Escape)} << false;
    QTest::newRow("Tab to No, Space")
        << QList<QKeySequence>{QKeySequence(Qt::Key_Tab), QKeySequence(Qt::Key_Space)} << false;
}

// The real message boxes: the quit question answered by keys alone, after
// which the console has the keyboard again.
void TestPlayerWindow::answersFromKeyboard()
{
    QFETCH(QList<QKeySequence>, keys);
    QFETCH(bool, quits);
    QtPlatform desktop(QStringLiteral("Quillmoor Player"));
    open("a.qw", "Language.txt", &desktop);

    QString question;
    QDeadlineTimer deadline(10000);
    std::function<void()> answer = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (!deadline.hasExpired())
                QTimer::singleShot(10, answer);
            return;
        }
        question = box->text();
        // The keys go where the keyboard is: the box's focused button.
        for (const QKeySequence &key : keys)
            QTest::keySequence(box->focusWidget() ? box->focusWidget() : box, key);
        // Keys that fail to answer fail the test rather than hang it.
        QTimer::singleShot(5000, box, [box] { box->done(QMessageBox::Cancel); });
    };
    QTimer::singleShot(0, answer);
    type("quit");
    QCOMPARE(question, "Do you really want to quit?");
    QCOMPARE(window->isVisible(), !quits);
    if (!quits) {
        QVERIFY(console().startsWith("Then carry on.\n"));
        // The console keeps the keyboard for the next command.
        QCOMPARE(window->focusWidget(), Text1);
        type("take rope");
        QVERIFY(console().startsWith("You take the rope.\n"));
    }
}

void TestPlayerWindow::typesAtTheEnd_data()
{
    // Each step: a key sequence; 'text typed; "click" above the prompt;
    // "menu:" and the name of an action of the context menu, chosen there
    // when it can be; "drop" of the text e above the prompt. The clipboard
    // holds e.
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("Ctrl+Home, then a key") << QStringList{"Ctrl+Home", "'e"};
    QTest::newRow("a click above the prompt, then a key") << QStringList{"click", "'e"};
    QTest::newRow("everything selected, then a key") << QStringList{"Ctrl+A", "'e"};
    QTest::newRow("a line up, then a key") << QStringList{"Up", "'e"};
    QTest::newRow("Ctrl+V above the prompt") << QStringList{"Ctrl+Home", "Ctrl+V"};
    QTest::newRow("Shift+Insert above the prompt") << QStringList{"Ctrl+Home", "Shift+Ins"};
    QTest::newRow("the context menu's Paste above the prompt") << QStringList{"click", "menu:edit-paste"};
    QTest::newRow("a drop above the prompt") << QStringList{"drop"};
    QTest::newRow("keys that delete, above the prompt")
        << QStringList{"Ctrl+Home", "Backspace", "Del", "Ctrl+Backspace", "Ctrl+Del", "'e"};
    QTest::newRow("keys that delete, at the prompt") << QStringList{"Backspace", "Ctrl+Backspace", "'e"};
    QTest::newRow("a word deleted back past the prompt") << QStringList{"' ", "Ctrl+Backspace", "'e"};
    QTest::newRow("cut and delete, everything selected")
        << QStringList{"Ctrl+A", "Ctrl+X", "Shift+Del", "Backspace", "Del", "menu:edit-cut", "menu:edit-delete", "'e"};
    QTest::newRow("editing the typed line") << QStringList{"'x", "Left", "'e", "Del", "Ctrl+Backspace", "'e"};
}

// Whatever the caret was on, what is typed or pasted ends the console and
// the game's text stays whole: the game reads the typed line.
void TestPlayerWindow::typesAtTheEnd()
{
    QFETCH(QStringList, steps);
    QApplication::clipboard()->setText("e");
    open("a.qw", "Language.txt");
    const QString shown = console();
    const QPoint above(4, 4);
    for (const QString &step : steps) {
        if (step == "click") {
            QTest::mouseClick(Text1->viewport(), Qt::LeftButton, {}, above);
        } else if (step.startsWith("menu:")) {
            QContextMenuEvent click(QContextMenuEvent::Mouse, above, Text1->viewport()->mapToGlobal(above));
            QApplication::sendEvent(Text1->viewport(), &click);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            auto *action = menu->findChild<QAction *>(step.mid(5));
            QVERIFY(action);
            if (action->isEnabled())
                action->trigger();
            menu->close();
        } else if (step == "drop") {
            QMimeData text;
            text.setText("e");
            QDragEnterEvent enter(above, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, {});
            QApplication::sendEvent(Text1->viewport(), &enter);
            QDropEvent drop(above, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, {});
            QApplication::sendEvent(Text1->viewport(), &drop);
            QVERIFY(drop.isAccepted());
        } else if (step.startsWith('\'')) {
            QTest::keyClicks(Text1, step.mid(1));
        } else {
            QTest::keySequence(Text1, QKeySequence(step));
        }
    }
    QCOMPARE(console(), shown + "e");
    QCOMPARE(Text1->textCursor().position(), console().size());
    QTest::keyClick(Text1, Qt::Key_Return);
    QVERIFY2(console().startsWith("Yard."), qPrintable(console()));
}

void TestPlayerWindow::savedGames_data()
{
    // Each step: "save" or "restore" through the dialog, the file being
    // $DIR/g.qwsave; "restart"; "reopen", a new window that restores it
    // before it shows, as --restore does; "change" and what changes:
    // "level", "language", "damage" (a location in the saved game),
    // "version" (the saved game's), "name" (the level's name in the saved
    // game, to one that finds no file); or a line typed.
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("informs"); // $DIR: the test's folder
    QTest::addColumn<QStringList>("straight"); // the lines of a game played straight to the same console

    const QStringList none;
    const QString refused = "The %1 file \"$DIR/%2\" has changed since the game was saved in \"$DIR/g.qwsave\", so "
                            "the game cannot go on.";
    auto changing = [](const QString &what) { return QStringList{"take rope", "save", "e", "change " + what, "restore", "w"}; };
    const QStringList english{"take rope", "e", "w"};

    QTest::newRow("saved, played on, restored: plays on as though never left")
        << "Language.txt" << QStringList{"take rope", "save", "e", "take lamp", "restore", "e", "take lamp", "i"}
        << QList<Answer>{} << none << QStringList{"take rope", "e", "take lamp", "i"};
    QTest::newRow("in the level a gate loaded")
        << "Language.txt" << QStringList{"e", "s", "save", "take stone", "restore", "take stone", "i"}
        << QList<Answer>{} << none << QStringList{"e", "s", "take stone", "i"};
    QTest::newRow("in the second language, after a restart in the first")
        << "two.txt" << QStringList{"2", "take rope", "save", "restart", "1", "restore", "e"} << QList<Answer>{Answer::Yes}
        << none << QStringList{"2", "take rope", "e"};
    QTest::newRow("at the end of the game, without its question")
        << "Language.txt" << QStringList{"take rope", "take hook", "combine rope with hook", "s", "save", "restore", "i"}
        << QList<Answer>{Answer::No} << none << QStringList{"take rope", "take hook", "combine rope with hook", "s", "i"};
    QTest::newRow("restored as the window opens") << "Language.txt" << QStringList{"take rope", "save", "reopen", "e"}
                                                  << QList<Answer>{} << none << QStringList{"take rope", "e"};
    QTest::newRow("a level named where no file is: the window's own, by its bytes")
        << "Language.txt" << changing("name") << QList<Answer>{} << none << QStringList{"take rope", "w"};
    QTest::newRow("refused: the level changed")
        << "Language.txt" << changing("level") << QList<Answer>{} << QStringList{refused.arg("level", "a.qw")} << english;
    QTest::newRow("refused: the language file changed")
        << "Language.txt" << changing("language") << QList<Answer>{} << QStringList{refused.arg("language", "Language.txt")}
        << english;
    QTest::newRow("refused: damaged")
        << "Language.txt" << changing("damage") << QList<Answer>{}
        << QStringList{"The saved game \"$DIR/g.qwsave\" is damaged: its lines do not match the check on its \"end\" "
                       "line (line 11), so it has been changed or cut since it was written."}
        << english;
    QTest::newRow("refused: a later version")
        << "Language.txt" << changing("version") << QList<Answer>{}
        << QStringList{"\"$DIR/g.qwsave\" is a Quillmoor saved game of version \"2\", which this version of "
                       "Quillmoor cannot read (it reads version 1)."}
        << english;
    QTest::newRow("nothing to save at the language menu")
        << "two.txt" << QStringList{"save"} << QList<Answer>{}
        << QStringList{"There is no game to save yet: choose a language first."} << none;
    QTest::newRow("restart answered No") << "Language.txt" << QStringList{"take rope", "restart"}
                                         << QList<Answer>{Answer::No} << none << QStringList{"take rope"};
    QTest::newRow("restart after a restore: the saved game's first level")
        << "Language.txt" << QStringList{"e", "s", "save", "reopen", "restart"} << QList<Answer>{Answer::Yes} << none
        << none;
}

// Saving, restoring and restarting in the window, each against a game
// played straight through in another window.
void TestPlayerWindow::savedGames()
{
    QFETCH(QString, language);
    QFETCH(QStringList, steps);
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, informs);
    QFETCH(QStringList, straight);
    const QString saved = dir.filePath("g.qwsave");
    QFile::remove(saved);
    open("a.qw", language);
    platform.answers.append(answers);
    for (const QString &step : steps) {
        if (step == "save") {
            platform.saveFileResults.enqueue(saved);
            act("actionSaveGame");
        } else if (step == "restore") {
            platform.openFileResults.enqueue(saved);
            act("actionRestoreGame");
        } else if (step == "restart") {
            act("actionRestart");
        } else if (step == "reopen") {
            // On another level, which the saved game's replaces.
            window = std::make_unique<PlayerWindow>(
                platform, Game::Setup{dir.filePath("field.qw").toStdString(), {}, dir.filePath(language).toStdString()});
            Text1 = window->findChild<QPlainTextEdit *>("Text1");
            QCOMPARE(window->gameFiles().restore(saved.toStdString()), "");
            window->show();
            QTRY_VERIFY(console().endsWith('>'));
        } else if (step.startsWith("change ")) {
            QFile file(saved);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray bytes = file.readAll();
            file.close();
            const QString what = step.mid(7);
            if (what == "level")
                GameFiles::write(dir.path(), "a.qw", GameFiles::adventure() + "\r\n");
            else if (what == "language")
                GameFiles::write(dir.path(), "Language.txt", GameFiles::language({{"English", GameFiles::english()}}) + "\r\n");
            else if (what == "damage")
                GameFiles::write(dir.path(), "g.qwsave", bytes.replace("location 1A", "location 1B"));
            else if (what == "version")
                GameFiles::write(dir.path(), "g.qwsave", bytes.replace("version 1\n", "version 2\n"));
            else if (what == "name") {
                bytes.replace("\nlevel " + dir.filePath("a.qw").toUtf8(), "\nlevel elsewhere/a.qw");
                bytes.truncate(bytes.indexOf("end "));
                GameFiles::write(dir.path(), "g.qwsave",
                                 bytes + "end " + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n');
            }
        } else {
            type(step);
        }
    }
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform), informs.replaceInStrings("$DIR", dir.path()));
    QVERIFY(platform.answers.isEmpty());
    const QString played = console();

    ScriptedPlatform other;
    window = std::make_unique<PlayerWindow>(
        other, Game::Setup{dir.filePath("a.qw").toStdString(), {}, dir.filePath(language).toStdString()});
    Text1 = window->findChild<QPlainTextEdit *>("Text1");
    window->show();
    QTRY_VERIFY(console().endsWith('>'));
    for (const QString &line : straight)
        type(line);
    QCOMPARE(played, console());
}

void TestPlayerWindow::hint_data()
{
    QTest::addColumn<QStringList>("lines"); // typed before F1
    // Typed at once after F1, before the answer comes; "<close>": the window
    // closed instead; "": nothing.
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("shown"); // the hint line; empty: hidden

    QTest::newRow("at the start") << QStringList{} << "" << "Hint: TAKE rope";
    QTest::newRow("the rope taken") << QStringList{"take rope"} << "" << "Hint: TAKE hook";
    QTest::newRow("the grapple made") << QStringList{"take rope", "take hook", "combine rope with hook"} << ""
                                      << "Hint: S";
    // Through the gate to a field with no way on.
    QTest::newRow("stuck") << QStringList{"e", "s"} << "" << "You can no longer win from here.";
    QTest::newRow("the next command comes first") << QStringList{} << "take rope" << "";
    QTest::newRow("the window closed first") << QStringList{} << "<close>" << "";
}

// F1 shows the next command of a shortest way to win under the console, and
// leaves the console as it was; the next command takes it away.
void TestPlayerWindow::hint()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, then);
    QFETCH(QString, shown);
    open("a.qw", "Language.txt");
    for (const QString &line : lines)
        type(line);
    auto *line = window->findChild<QLabel *>("HintLine");
    QVERIFY(line);
    QVERIFY(!line->isVisible());
    QVERIFY(Text1->actions().contains(window->findChild<QAction *>("actionHint")));
    QTest::keyClicks(Text1, "ta");
    const QString before = console();
    QTest::keyClick(Text1, Qt::Key_F1);
    if (!then.isEmpty()) {
        if (then == "<close>") {
            QVERIFY(window->close());
        } else {
            QTest::keyClicks(Text1, then.mid(2));
            QTest::keyClick(Text1, Qt::Key_Return);
        }
        QTest::qWait(300);
        QVERIFY(line->text().isEmpty());
        return;
    }
    QTRY_VERIFY(line->isVisible());
    QCOMPARE(line->text(), shown);
    QCOMPARE(console(), before);
    QCOMPARE(Text1->textCursor().position(), console().size());
    QVERIFY(Text1->geometry().bottom() < line->geometry().top());
    QTest::keyClick(Text1, Qt::Key_Return);
    QVERIFY(!line->isVisible());
    QVERIFY(platform.events.isEmpty());
}

QTEST_MAIN(TestPlayerWindow)
#include "tst_playerwindow.moc"
