// SPDX-License-Identifier: MIT
#include "combination.h"
#include "commandtable.h"
#include "gamefiles.h"
#include "qtext.h"

#include <QTest>

namespace {

using Command = CommandTable::Command;

// English with some of its messages changed: "n=text" sets message n.
CommandTable english(const QStringList &changes)
{
    QStringList messages = GameFiles::english();
    for (const QString &change : changes)
        messages[change.section(u'=', 0, 0).toInt() - 1] = change.section(u'=', 1);
    const LanguageTable table =
        LanguageTable::read(GameFiles::language({{"English", messages}}).toStdString(), "Language.txt");
    return CommandTable(table, 1);
}

QString roleOf(Command command)
{
    return QString::fromLatin1(CommandTable::list(command).role);
}

} // namespace

// What the player reads a typed command as, and the words a tool that
// writes commands for it gets for each command.
class TestCommandTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void wordsFor_data();
    void wordsFor();
    void naming_data();
    void naming();
};

void TestCommandTable::read_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reading"); // "role WORD", or "-"

    QTest::newRow("a direction, typed small") << QStringList{} << "north" << "north NORTH";
    QTest::newRow("a direction with a blank after it") << QStringList{} << "N " << "-";
    QTest::newRow("a take word and a name") << QStringList{} << "get lamp" << "take GET ";
    QTest::newRow("a word written small is never read") << QStringList{"20=take |GET "} << "take lamp" << "-";
    QTest::newRow("drop is tried before take") << QStringList{"19=T"} << "TAKE lamp" << "drop T";
    QTest::newRow("quit is tried before drop") << QStringList{"19=Q"} << "Q" << "quit Q";
    QTest::newRow("a direction before the combine words") << QStringList{"22=N"} << "N" << "north N";
    QTest::newRow("combine before help") << QStringList{"22=HEL"} << "HELP" << "combine HEL";
    QTest::newRow("the first word of a list wins") << QStringList{"20=GET|GETUP"} << "GETUP lamp" << "take GET";
    QTest::newRow("nothing") << QStringList{} << "dance" << "-";
}

void TestCommandTable::read()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, typed);
    const CommandTable table = english(changes);
    const std::optional<CommandTable::Reading> reading = table.read(toText(typed));
    QTEST(reading ? roleOf(reading->command) + u' ' + toQString(*reading->word) : QStringLiteral("-"), "reading");
}

// A change to the language changes the words a walkthrough is written in.
void TestCommandTable::wordsFor_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("take") << QStringList{} << int(Command::Take) << "lamp" << QStringList{"TAKE ", "GET "};
    QTest::newRow("a take list with a new first word")
        << QStringList{"20=GRAB|TAKE "} << int(Command::Take) << "lamp" << QStringList{"GRAB", "TAKE "};
    QTest::newRow("a take word a drop word begins")
        << QStringList{"19=DROP|PUT ", "20=DROPIT|TAKE "} << int(Command::Take) << "lamp" << QStringList{"TAKE "};
    QTest::newRow("a take word the first take word begins")
        << QStringList{"20=GET|GETUP"} << int(Command::Take) << "lamp" << QStringList{"GET"};
    QTest::newRow("east, its name written small")
        << QStringList{} << int(Command::East) << "" << QStringList{"E", "EAST"};
    QTest::newRow("an east word that is north's")
        << QStringList{"17=N|east|EAST"} << int(Command::East) << "" << QStringList{"EAST"};
    QTest::newRow("inventory, a word quit takes")
        << QStringList{"24=Q|I"} << int(Command::Inventory) << "" << QStringList{"I"};
    QTest::newRow("a whole command a direction takes")
        << QStringList{"15=N|north|GET LAMP"} << int(Command::Take) << "lamp" << QStringList{"TAKE "};
}

void TestCommandTable::wordsFor()
{
    QFETCH(QStringList, changes);
    QFETCH(int, command);
    QFETCH(QString, rest);
    QStringList words;
    for (const Text &word : english(changes).wordsFor(Command(command), toText(rest)))
        words << toQString(word);
    QTEST(words, "words");
}

// Which items a combine command names: the carried items each word of it
// is part of, and whether it names exactly the two wanted.
void TestCommandTable::naming_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("named"); // the letters named, word by word
    QTest::addColumn<bool>("ropeAndHook");

    QTest::newRow("two names") << "COMBINE rope WITH hook" << "|A||B" << true;
    QTest::newRow("either order, any words") << "hook rope" << "B|A" << true;
    QTest::newRow("a connector that names an item") << "COMBINE rope ROPE hook" << "|A|A|B" << false;
    QTest::newRow("a word of two names") << "USE o" << "|AB" << true;
    QTest::newRow("a name not carried") << "COMBINE rope ladder" << "|A|" << false;
    QTest::newRow("two blanks name nothing more") << "COMBINE  rope  hook " << "|A|B" << true;
}

void TestCommandTable::naming()
{
    QFETCH(QString, command);
    Combination::Names names{};
    names[0] = U"ROPE";
    names[1] = U"HOOK";
    names[2] = U"LADDER";
    const std::uint32_t carried = 0b11; // rope and hook
    QStringList named;
    std::vector<std::uint32_t> words;
    for (const Combination::Naming &word : Combination::named(toText(command), names, carried)) {
        QString letters;
        for (int item = 0; item < 26; ++item) {
            if ((word.items >> item) & 1u)
                letters += QChar(u'A' + item);
        }
        named << letters;
        words.push_back(word.items);
    }
    QTEST(named.join(u'|'), "named");
    QTEST(Combination::namesPair(words.data(), words.size(), carried, 0, 1), "ropeAndHook");
}

QTEST_GUILESS_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
