// SPDX-License-Identifier: MIT
#include "languagelint.h"
#include "player/gamefiles.h"

#include <QTest>

namespace {

// English with message n (1 to 27) replaced.
QStringList english(const QMap<int, QString> &changes)
{
    QStringList messages = GameFiles::english();
    for (auto change = changes.begin(); change != changes.end(); ++change)
        messages[change.key() - 1] = change.value();
    return messages;
}

} // namespace

class TestLanguageLint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void problems_data();
    void problems();
};

// Each problem "severity line fragment"; message n of the first language
// stands on line n + 2, after the comment line and the language's header.
void TestLanguageLint::problems_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    auto one = [](const QStringList &messages) { return GameFiles::language({{"English", messages}}); };

    QTest::newRow("sound") << one(GameFiles::english()) << QStringList{};
    QTest::newRow("sound, two languages")
        << GameFiles::language({{"English", GameFiles::english()}, {"Again", GameFiles::english()}}) << QStringList{};
    QTest::newRow("a word not in capitals")
        << one(english({{20, "TAKE |get "}}))
        << QStringList{"warning 22 The take word \"get \" of English is not in capitals"};
    QTest::newRow("no word in capitals")
        << one(english({{19, "drop |put "}}))
        << QStringList{"warning 21 The drop word \"drop \"", "warning 21 The drop word \"put \"",
                       "warning 21 No drop word of English is in capitals, so the player has no drop command."};
    QTest::newRow("a word that hides a later one of its list")
        << one(english({{20, "GET|TAKE |GETUP"}}))
        << QStringList{"warning 22 The take word \"GET\" of English is the start of the take word \"GETUP\""};
    QTest::newRow("a word that hides help and inventory words")
        << one(english({{22, "COMBINE |I"}}))
        << QStringList{"warning 24 The combine word \"I\" of English is the start of the inventory word \"I\"",
                       "warning 24 is the start of the inventory word \"INVENTORY\" (message 24), which is tried "
                       "after it: typing \"INVENTORY\" gives a combine command."};
    QTest::newRow("a drop word that hides take words")
        << one(english({{19, "DROP |T"}}))
        << QStringList{"warning 21 The drop word \"T\" of English is the start of the take word \"TAKE \""};
    QTest::newRow("a word hides no word tried before it")
        << one(english({{20, "TAKE |D"}})) << QStringList{};
    QTest::newRow("a direction without a name")
        << one(english({{16, "S"}}))
        << QStringList{"warning 18 The south words of English have no second field, the direction's name: its "
                       "exits are announced as \"There is an exit .\"."};
    QString tooLong = "N|north";
    for (int i = 0; i < 29; ++i)
        tooLong += "|X";
    QTest::newRow("a list of more than 30 fields")
        << one(english({{15, tooLong}}))
        << QStringList{"error 17 Message 15 of English has more than 30 fields"};
    QStringList short26 = GameFiles::english().mid(0, 26);
    QTest::newRow("a block short of a message")
        << GameFiles::language({{"English", short26}, {"Deutsch", GameFiles::english()}})
        << QStringList{"warning 29 Message 27 of English begins with \"[\""};
    QTest::newRow("a block cut short by the end of the file")
        << one(short26) << QStringList{"error 28 the language \"English\" ends after 26 of its 27 messages."};
    QTest::newRow("no language") << GameFiles::crlf({"Only a comment."})
                                 << QStringList{"error - is not a language file (no language block)"};
    QTest::newRow("a level") << GameFiles::adventure()
                             << QStringList{"error 1 is not a language file (no language block): it is a Quillmoor "
                                            "level (\"[MAP]\" on line 1)."};
}

void TestLanguageLint::problems()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);

    const std::vector<Problem> problems = LanguageLint::check(file.toStdString(), "Language.txt");
    QStringList found;
    for (const Problem &problem : problems) {
        QVERIFY(!problem.location);
        found << QString("%1 %2 %3").arg(problem.isError() ? "error" : "warning",
                                         problem.line ? QString::number(problem.line) : "-",
                                         QString::fromStdString(problem.text));
    }
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QStringList parts = expected[i].split(' ');
        QVERIFY2(found[i].startsWith(parts.mid(0, 2).join(' ') + ' ') && found[i].contains(parts.mid(2).join(' ')),
                 qPrintable("got \"" + found[i] + "\", wanted \"" + expected[i] + "\""));
    }
}

QTEST_GUILESS_MAIN(TestLanguageLint)
#include "tst_languagelint.moc"
