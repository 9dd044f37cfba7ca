// SPDX-License-Identifier: MIT
#include "gamefiles.h"
#include "playerwindow.h"
#include "scriptedplatform.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

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
    void stops();
    void closing();
    void walkthrough_data();
    void walkthrough();
    void keysWaitForTheWalkthrough();

private:
    // Shows a window on a level and a language file of the test folder and
    // waits until the game has started.
    void open(const QString &level, const QString &language);
    void type(const QString &line, Qt::Key enter = Qt::Key_Return);
    QString console() const { return Text1->toPlainText(); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<PlayerWindow> window;
    QPlainTextEdit *Text1 = nullptr;
};

void TestPlayerWindow::initTestCase()
{
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
}

void TestPlayerWindow::open(const QString &level, const QString &language)
{
    window = std::make_unique<PlayerWindow>(
        platform, Game::Setup{dir.filePath(level).toStdString(), {}, dir.filePath(language).toStdString()});
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

void TestPlayerWindow::stops()
{
    open("nostart.qw", "Language.txt");
    const QString message = "The level \"" + dir.filePath("nostart.qw") + "\" has no start location.\r\n"
        + dir.filePath("nostart.qw");
    QCOMPARE(platform.texts(ScriptedPlatform::Kind::Inform), QStringList{message});
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

QTEST_MAIN(TestPlayerWindow)
#include "tst_playerwindow.moc"
