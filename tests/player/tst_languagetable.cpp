// SPDX-License-Identifier: MIT
#include "gameerror.h"
#include "gamefiles.h"
#include "languagetable.h"
#include "qtext.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

LanguageTable read(const QByteArray &bytes, const char *fileName)
{
    return LanguageTable::read(bytes.toStdString(), fileName);
}

} // namespace

class TestLanguageTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void messages();
    void faults_data();
    void faults();
    void missingFile();
};

void TestLanguageTable::names_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("menu");

    const QStringList messages = GameFiles::english();
    QTest::newRow("file order") << GameFiles::crlf(QStringList{"[English]"} + messages + QStringList{"[Deutsch]"}
                                                   + messages)
                                << QStringList{"English", "Deutsch"} << "[1] English\r\n[2] Deutsch\r\n";
    QTest::newRow("every ] removed, text after it kept")
        << GameFiles::crlf(QStringList{"[Deutsch] (neu)"} + messages) << QStringList{"Deutsch (neu)"}
        << "[1] Deutsch (neu)\r\n";
    QTest::newRow("a lone [ names nothing") << GameFiles::crlf(QStringList{"["} + messages) << QStringList{""}
                                            << "[1] \r\n";
    QTest::newRow("comments between languages, bare LF, BOM")
        << ("\xEF\xBB\xBF" + (QStringList{"comment", "[A]"} + messages + QStringList{"", "more comment", "[B]"} + messages)
                                 .join('\n')
                                 .toUtf8())
        << QStringList{"A", "B"} << "[1] A\r\n[2] B\r\n";
    QStringList thirty;
    for (int n = 1; n <= 30; ++n)
        thirty += QStringList{QStringLiteral("[L%1]").arg(n)} + messages;
    QTest::newRow("30 languages") << GameFiles::crlf(thirty) << QStringList{"L1", "L2"}
                                  << QString(); // menu not compared
}

void TestLanguageTable::names()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QString, menu);
    const LanguageTable table = read(bytes, "Language.txt");
    for (int n = 1; n <= names.size(); ++n)
        QCOMPARE(toQString(table.name(n)), names.at(n - 1));
    if (!menu.isNull()) {
        QCOMPARE(table.count(), names.size());
        QCOMPARE(toQString(table.menu()), menu);
    }
}

void TestLanguageTable::messages()
{
    // Messages are whole lines as read: a "[" line inside a block, spaces kept.
    QStringList messages = GameFiles::english();
    messages[0] = "[not a header";
    messages[26] = "  spaced  ";
    const LanguageTable table = read(
        GameFiles::crlf(QStringList{"comment", "[English]"} + messages + QStringList{"[Second]"} + messages), "x");
    QCOMPARE(table.count(), 2);
    QCOMPARE(toQString(table.message(2, 1)), "[not a header");
    QCOMPARE(toQString(table.message(1, 27)), "  spaced  ");
    QCOMPARE(toQString(table.message(1, 15)), "N|north|NORTH");
    QCOMPARE(toQString(table.fields(1, 15)[1]), "north");
    QCOMPARE(table.line(1, 1), 3);
    QCOMPARE(table.line(2, 27), 57);
}

void TestLanguageTable::faults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QStringList messages = GameFiles::english();
    QTest::newRow("cut short") << GameFiles::crlf(QStringList{"x", "[English]"} + messages.mid(0, 20))
                               << "Language file \"/x/Language.txt\", line 22: the language \"English\" ends after "
                                  "20 of its 27 messages.";
    QTest::newRow("header as the last line")
        << GameFiles::crlf(QStringList{"[English]"} + messages + QStringList{"[Deutsch]"})
        << "Language file \"/x/Language.txt\", line 29: the language \"Deutsch\" ends after 0 of its 27 messages.";
    QStringList many;
    for (int n = 1; n <= 31; ++n)
        many += QStringList{QStringLiteral("[L%1]").arg(n)} + messages;
    QTest::newRow("31 languages") << GameFiles::crlf(many)
                                  << "Language file \"/x/Language.txt\", line 841: the language \"L31\" is one too "
                                     "many; a language file holds at most 30 languages.";
    const QString notOne = "\"/x/Language.txt\" is not a language file (no language block): ";
    QTest::newRow("empty") << QByteArray()
                           << notOne + "each language begins with a line such as \"[English]\", followed by its 27 "
                                       "messages.";
    QTest::newRow("a level") << GameFiles::adventure() << notOne + "it is a Quillmoor level (\"[MAP]\" on line 1).";
    QTest::newRow("a level without its map")
        << GameFiles::field() << notOne + "it is a Quillmoor level (\"[ITEMS]\" on line 1).";
    QTest::newRow("a header that is not text")
        << QByteArray("x\r\n[PNG\x1a]\r\n") + GameFiles::crlf(messages)
        << notOne + "it is not text: line 2 holds the control character 0x1A.";
    QTest::newRow("a message that is not text")
        << GameFiles::crlf(QStringList{"[English]"} + messages.mid(0, 3)) + QByteArray("\0\0\x89\r\n", 5)
        << notOne + "it is not text: line 5 holds the control character 0x00.";
}

void TestLanguageTable::faults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    try {
        read(bytes, "/x/Language.txt");
        QFAIL("read without an error");
    } catch (const GameError &fault) {
        QCOMPARE(toQString(fault.description), error);
    }
}

void TestLanguageTable::missingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("100%1 Language.txt");
    try {
        LanguageTable::readFile(path.toStdString());
        QFAIL("read without an error");
    } catch (const GameError &fault) {
        QCOMPARE(toQString(fault.description), "Cannot open the language file \"" + path + "\": No such file or directory.");
    }
}

QTEST_GUILESS_MAIN(TestLanguageTable)
#include "tst_languagetable.moc"
