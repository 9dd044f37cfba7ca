// SPDX-License-Identifier: MIT
#include "mapwindow.h"
#include "savedgame.h"
#include "scriptedplatform.h"
#include "sha256.h"
#include "testfiles.h"
#include "toolrun.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = ScriptedPlatform::Kind;
using Answer = Platform::Answer;

const QString BinDir = QStringLiteral(QUILLMOOR_BIN_DIR);
const QString SaveToPlay = QStringLiteral("The player plays the level file, which does not hold the level as it "
                                          "stands yet. Save the level now and play from here?");
const QString AllLanguages = BinDir + QStringLiteral("/languages/all.txt");
const QString NotStarted = QStringLiteral("The game player could not be started to play from here.\n");

// A level of a start, an end of the game and a way down to a cellar, with
// three named items (A, C and Z); B has no name.
struct Studio
{
    Studio()
        : map(platform)
    {
        platform.folder = BinDir;
        LevelDocument &doc = map.document();
        doc.levelfile = folder.filePath(QStringLiteral("castle.qw"));
        std::array<Text, Level::ItemCount> names{};
        names[0] = U"brass key";
        names[2] = U"lamp";
        names[25] = U"quill";
        doc.updateitems(names, {});
        doc.updategrid({1, 1}, LocationRecord(U"A cold cell.|PATH E|ITEM A|START|"), 0);
        doc.updategrid({1, 2}, LocationRecord(U"A bright hall.|PATH W|PATH E|ENDGAME|"), 0);
        doc.updategrid({1, 3}, LocationRecord(U"Worn steps.|PATH W|LOADLEVEL cellar.qw COMMENT=You climb down.|"), 0);
        TestFiles::write(folder.filePath(QStringLiteral("cellar.qw")),
                         TestFiles::level({"[ITEMS]", "", "[LOCATION 5E]", "The cellar.", "START", "", "[COMBOS]",
                                           ""}));
    }
    PlayFromHereDialog &dialog() { return map.playFromHereDialog(); }
    QCheckBox *item(QChar letter) { return dialog().findChild<QCheckBox *>(QStringLiteral("item") + letter); }
    // The letters of the items the dialog offers.
    QString offered()
    {
        QString letters;
        for (char16_t c = u'A'; c <= u'Z'; ++c) {
            if (!item(c)->isHidden())
                letters += c;
        }
        return letters;
    }
    // Ticks the letters, then OK or Cancel.
    void answer(const QString &ticked, int language, bool ok)
    {
        for (const QChar letter : ticked)
            item(letter)->click();
        dialog().findChild<QComboBox *>(QStringLiteral("languageBox"))->setCurrentIndex(language - 1);
        auto *buttons = dialog().findChild<QDialogButtonBox *>();
        buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    }
    const ScriptedPlatform::Event *started() const
    {
        for (const ScriptedPlatform::Event &event : platform.events) {
            if (event.kind == Kind::StartProgram)
                return &event;
        }
        return nullptr;
    }
    QTemporaryDir folder;
    ScriptedPlatform platform;
    MapWindow map;
};

QString sha256(const QString &path)
{
    return QString::fromStdString(Sha256::hex(TestFiles::read(path).toStdString()));
}

} // namespace

// "Play from Here" in the map window: the player starts at a location, with
// the items the author ticks, on the level as saved.
class TestPlayFromHere : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menuAndKey_data();
    void menuAndKey();
    void playFromHere_data();
    void playFromHere();
    void playerStandsThere_data();
    void playerStandsThere();
};

void TestPlayFromHere::menuAndKey_data()
{
    QTest::addColumn<QString>("focus"); // the control with the keyboard focus
    QTest::addColumn<QString>("location"); // where the dialog plays from; empty: no dialog

    QTest::newRow("a location") << "Command3" << "1C";
    QTest::newRow("another location") << "Command2" << "1B";
    QTest::newRow("no location") << "Command82" << "";
}

// Each location's menu begins with the action, whose key acts on the location
// with the focus; the window's own menu stays as it was.
void TestPlayFromHere::menuAndKey()
{
    QFETCH(QString, focus);
    QFETCH(QString, location);
    Studio studio;
    QVERIFY(studio.map.document().save().saved);
    auto *action = studio.map.findChild<QAction *>(QStringLiteral("actionPlayFromHere"));
    QVERIFY(action);
    QCOMPARE(action->text(), "Play from Here");
    QCOMPARE(action->shortcut(), QKeySequence(Qt::Key_F5));
    QStringList menu;
    for (const QAction *a : studio.map.actions())
        menu << a->objectName();
    const QStringList windowMenu{"actionUndo", "actionRedo", "", "actionPublish", "actionCheckLevel", "", "actionGuide"};
    QCOMPARE(menu, windowMenu);
    for (int n = 1; n <= Level::LocationCount; ++n) {
        auto *button = studio.map.findChild<QPushButton *>(QStringLiteral("Command%1").arg(n));
        QCOMPARE(button->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(button->actions().first(), action);
        QCOMPARE(button->actions().mid(2), studio.map.actions());
    }

    studio.map.show();
    studio.map.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&studio.map));
    auto *control = studio.map.findChild<QPushButton *>(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F5);
    QCOMPARE(studio.dialog().isVisible(), !location.isEmpty());
    if (!location.isEmpty())
        QCOMPARE(QString::fromStdString(studio.dialog().location().name()), location);
    QVERIFY(studio.platform.events.isEmpty());
}

void TestPlayFromHere::playFromHere_data()
{
    QTest::addColumn<bool>("saved"); // before
    QTest::addColumn<QString>("levelfile"); // in the test's folder
    QTest::addColumn<QString>("at");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("languages"); // the player's language file; empty: the shipped one, "none": none
    QTest::addColumn<bool>("starts"); // the platform starts programs
    QTest::addColumn<QString>("ticked"); // "-": the dialog is cancelled
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("messages"); // each as it begins
    QTest::addColumn<bool>("dialog"); // the dialog opened
    QTest::addColumn<bool>("played"); // a saved game was written and the player started on it

    const QList<Answer> none;
    const QList<Answer> yes{Answer::Yes};
    const QStringList nothing;
    QTest::newRow("saved: carries what is ticked")
        << true << "castle.qw" << "1C" << none << "" << true << "AZ" << 1 << nothing << nothing << true << true;
    QTest::newRow("nothing ticked, at the end of the game")
        << true << "castle.qw" << "1B" << none << "" << true << "" << 1 << nothing << nothing << true << true;
    QTest::newRow("not saved: saved first on Yes")
        << false << "castle.qw" << "1A" << yes << "" << true << "C" << 1 << QStringList{SaveToPlay} << nothing << true
        << true;
    QTest::newRow("not saved: nothing on No")
        << false << "castle.qw" << "1A" << QList<Answer>{Answer::No} << "" << true << "" << 1
        << QStringList{SaveToPlay} << nothing << false << false;
    QTest::newRow("the save fails")
        << false << "missing/castle.qw" << "1A" << yes << "" << true << "" << 1 << QStringList{SaveToPlay}
        << QStringList{"Could not save the level to \"$DIR/missing/castle.qw\""} << false << false;
    QTest::newRow("cancelled") << true << "castle.qw" << "1A" << none << "" << true << "-" << 1 << nothing << nothing
                               << true << false;
    QTest::newRow("an empty location")
        << false << "castle.qw" << "5E" << none << "" << true << "" << 1 << nothing
        << QStringList{"Location 5E is empty, so the level has nothing there to play from."} << false << false;
    QTest::newRow("several languages: the second")
        << true << "castle.qw" << "1A" << none << AllLanguages << true << "A" << 2 << nothing << nothing << true
        << true;
    QTest::newRow("no language file") << true << "castle.qw" << "1A" << none << "none" << true << "" << 1 << nothing
                                      << QStringList{NotStarted + "Its language file Language.txt is missing."}
                                      << false << false;
    QTest::newRow("the player does not start")
        << true << "castle.qw" << "1A" << none << "" << false << "" << 1 << nothing
        << QStringList{NotStarted + "the program could not be started"} << true << true;
}

// The player goes on with a saved game the studio writes: the level file as
// saved, the location, the items ticked and the language chosen, with the
// language file given to the player, so the digests match what it reads.
void TestPlayFromHere::playFromHere()
{
    QFETCH(bool, saved);
    QFETCH(QString, levelfile);
    QFETCH(QString, at);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, languages);
    QFETCH(bool, starts);
    QFETCH(QString, ticked);
    QFETCH(int, language);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, messages);
    QFETCH(bool, dialog);
    QFETCH(bool, played);
    Studio studio;
    LevelDocument &document = studio.map.document();
    document.levelfile = studio.folder.filePath(levelfile);
    if (saved)
        QVERIFY(document.save().saved);
    QTemporaryDir beside;
    if (!languages.isEmpty()) {
        if (languages != "none")
            QVERIFY(QFile::copy(languages, beside.filePath("Language.txt")));
        studio.platform.folder = beside.path();
    }
    studio.platform.answers.append(answers);
    studio.platform.startSucceeds = starts;
    const GridRef location{at[0].digitValue(), at[1].unicode() - 'A' + 1};
    studio.map.playFromHere(location.row, location.col);

    QCOMPARE(studio.dialog().isVisible(), dialog);
    if (dialog) {
        QCOMPARE(studio.offered(), "ACZ");
        QCOMPARE(studio.item(u'A')->text(), "A: brass key");
        QCOMPARE(studio.item(u'A')->accessibleName(), "Item A, brass key");
        QVERIFY(!studio.item(u'A')->isChecked());
        auto *box = studio.dialog().findChild<QComboBox *>("languageBox");
        QCOMPARE(box->isVisibleTo(&studio.dialog()), languages == AllLanguages);
        QCOMPARE(box->currentIndex(), 0);
        studio.answer(ticked == "-" ? "" : ticked, language, ticked != "-");
    }
    QCOMPARE(studio.platform.texts(Kind::Ask), questions);
    const QStringList told = studio.platform.texts(Kind::Inform);
    messages.replaceInStrings("$DIR", studio.folder.path());
    QCOMPARE(told.size(), messages.size());
    for (qsizetype i = 0; i < told.size(); ++i)
        QVERIFY2(told.at(i).startsWith(messages.at(i)), qPrintable(told.at(i)));
    const ScriptedPlatform::Event *start = studio.started();
    QCOMPARE(start != nullptr, played);
    if (!played)
        return;

    const QString languageFile = QDir(studio.platform.folder).filePath("Language.txt");
    QCOMPARE(start->text, QDir(studio.platform.folder).filePath("quillmoorplayer"));
    QCOMPARE(start->arguments.size(), 4);
    QCOMPARE(start->arguments.mid(0, 3), (QStringList{"--language", languageFile, "--restore"}));
    std::string error;
    const std::string file = QFile::encodeName(start->arguments.at(3)).toStdString();
    const std::optional<SavedGame> game = SavedGame::readFile(file, &error);
    QVERIFY2(game, error.c_str());
    // The level as saved, by its whole path.
    QCOMPARE(TestFiles::read(document.levelfile).toStdString(), document.bytesToSave());
    const QString level = QFileInfo(document.levelfile).absoluteFilePath();
    QCOMPARE(QString::fromStdString(game->level.name), level);
    QCOMPARE(QString::fromStdString(game->firstLevel), level);
    QCOMPARE(QString::fromStdString(game->level.sha256), sha256(level));
    QCOMPARE(QString::fromStdString(game->language.name), languageFile);
    QCOMPARE(QString::fromStdString(game->language.sha256), sha256(languageFile));
    QCOMPARE(game->languageNumber, language);
    QCOMPARE(game->position, location);
    std::uint32_t carried = 0;
    for (const QChar letter : ticked)
        carried |= 1u << (letter.unicode() - 'A');
    QCOMPARE(game->carried, carried);
    QVERIFY(game->records.empty());
}

void TestPlayFromHere::playerStandsThere_data()
{
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("here"); // what walking in shows
    QTest::addColumn<QString>("setOff"); // what walking in sets off, only after the next command

    QTest::newRow("at a LOADLEVEL location") << "1C" << "Worn steps." << "You climb down.";
    QTest::newRow("at the end of the game") << "1B" << "A bright hall." << "Do you want to end the game?";
}

// The real player, given what the studio gives it, stands at the location
// with the items ticked, and nothing there has been set off.
void TestPlayFromHere::playerStandsThere()
{
    QFETCH(QString, at);
    QFETCH(QString, here);
    QFETCH(QString, setOff);
    const QString player = BinDir + "/quillmoorplayer";
    QVERIFY2(QFileInfo(player).isExecutable(), qPrintable(player + " is missing"));
    Studio studio;
    QVERIFY(studio.map.document().save().saved);
    studio.map.playFromHere(at[0].digitValue(), at[1].unicode() - 'A' + 1);
    studio.answer("C", 1, true);
    QVERIFY(studio.started());

    const ToolRun game = ToolRun::of(player, QStringList{"--tty"} + studio.started()->arguments, {}, "INVENTORY\n");
    const QString output = QString::fromUtf8(game.out);
    QCOMPARE(QString::fromUtf8(game.err), QString());
    QCOMPARE(game.exitCode, 0);
    const qsizetype shown = output.indexOf(here);
    const qsizetype typed = output.indexOf(">INVENTORY");
    const qsizetype lamp = output.indexOf("lamp", typed);
    const qsizetype after = output.indexOf(setOff);
    QVERIFY2(shown == 0 && typed > shown && lamp > typed && after > lamp, qPrintable(output));
    QVERIFY2(!output.contains("brass"), qPrintable(output));
}

QTEST_MAIN(TestPlayFromHere)
#include "tst_playfromhere.moc"
