// SPDX-License-Identifier: MIT
#include "qtext.h"
#include "savedgame.h"
#include "sha256.h"

#include <QTest>

// The saved-game file: what is written reads back the same, and every file
// that is not a whole saved game of this version is refused with its reason.
class TestSavedGame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip();
    void refused_data();
    void refused();
};

namespace {

const QByteArray Digest(64, 'a');

// The lines of a saved game, sealed with the "end" line that checks them.
QByteArray sealed(const QByteArrayList &lines)
{
    const QByteArray body = lines.join('\n') + '\n';
    return body + "end " + QByteArray::fromStdString(Sha256::hex(body.toStdString())) + '\n';
}

const QByteArrayList Lines{
    "Quillmoor saved game, version 1",
    "first-level a.qw",
    "level b.qw",
    "level-sha256 " + Digest,
    "language-file Language.txt",
    "language-sha256 " + Digest,
    "language 2",
    "location 3C",
    "carried AZ",
    "record 1A Cell.|PATH E||",
};

// Lines with line n (0 the heading) replaced, or taken out when with is null.
QByteArrayList changed(int n, const QByteArray &with)
{
    QByteArrayList lines = Lines;
    if (with.isNull())
        lines.removeAt(n);
    else
        lines[n] = with;
    return lines;
}

std::optional<SavedGame> read(const QByteArray &bytes, std::string *error)
{
    return SavedGame::read(bytes.toStdString(), "g.qwsave", error);
}

} // namespace

void TestSavedGame::roundTrip()
{
    // Names and records with every character the escapes are for.
    SavedGame saved;
    saved.firstLevel = "levels/a b\\c.qw";
    saved.level = {"/abs/\x01\x7F\n\r.qw", std::string(64, 'f')};
    saved.language = {"Sprache ä.txt", std::string(64, '0')};
    saved.languageNumber = 30;
    saved.position = {9, 9};
    saved.carried = (1u << 26) - 1;
    saved.records = {{{1, 1}, U"Yard.\r\nWind.|PATH N|\\x41 |ITEM A|"},
                     {{1, 2}, U""},
                     {{9, 9}, U"Ünïcödé ✓ trailing |  "}};
    const std::string written = saved.text();
    std::string error;
    QCOMPARE(SavedGame::read(written, "g.qwsave", &error), std::optional<SavedGame>(saved));
    QCOMPARE(error, std::string());
    QCOMPARE(written.find('\r'), std::string::npos);
    // Line ends made CR LF on the way change nothing.
    QByteArray crlf = QByteArray::fromStdString(written).replace('\n', "\r\n");
    QCOMPARE(read(crlf, &error), std::optional<SavedGame>(saved));
    // Nothing carried, nothing changed.
    saved.carried = 0;
    saved.records.clear();
    QCOMPARE(SavedGame::read(saved.text(), "g.qwsave", &error), std::optional<SavedGame>(saved));
}

void TestSavedGame::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QString line = "Saved game \"g.qwsave\", line %1: ";
    const QString notSaved
        = "\"g.qwsave\" is not a Quillmoor saved game: its first line is not \"Quillmoor saved game, version 1\".";
    QTest::newRow("empty") << QByteArray() << notSaved;
    QTest::newRow("a level") << QByteArray("[MAP]\r\n\r\n[LOCATION 1A]\r\nCell.\r\nSTART\r\n\r\n") << notSaved;
    QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10) << notSaved;
    QTest::newRow("a later version")
        << sealed(changed(0, "Quillmoor saved game, version 2"))
        << "\"g.qwsave\" is a Quillmoor saved game of version \"2\", which this version of Quillmoor cannot read (it "
           "reads version 1).";
    QTest::newRow("no end line") << Lines.join('\n') + '\n'
                                 << "The saved game \"g.qwsave\" is cut short: it ends on line 10 without its \"end\" "
                                    "line.";
    const QString damaged = "The saved game \"g.qwsave\" is damaged: its lines do not match the check on its \"end\" "
                            "line (line %1), so it has been changed or cut since it was written.";
    QTest::newRow("cut inside the end line") << sealed(Lines).chopped(20) << damaged.arg(11);
    QTest::newRow("a record changed") << sealed(Lines).replace("PATH E", "PATH W") << damaged.arg(11);
    QTest::newRow("a line after the end") << sealed(Lines) + "carried B\n" << damaged.arg(11);
    QTest::newRow("the check in capitals") << QByteArray(sealed(Lines)).replace("end ", "END ").toLower() << notSaved;

    // Sealed, yet not made by a saver: each entry checked for itself.
    QTest::newRow("an entry missing") << sealed(changed(3, QByteArray()))
                                      << line.arg(4) + "the entry \"level-sha256\" should come next, not "
                                                       "\"language-file Language.txt\".";
    QTest::newRow("entries swapped") << sealed(Lines.mid(0, 8) << "record 1A x" << "carried A")
                                     << line.arg(9) + "the entry \"carried\" should come next, not \"record 1A x\".";
    QTest::newRow("an empty name") << sealed(changed(2, "level"))
                                   << line.arg(3) + "\"level\" needs the name of a file, with \\\\, \\r, \\n and \\x "
                                                    "escapes only.";
    QTest::newRow("a NUL in a name") << sealed(changed(1, "first-level a\\x00.qw"))
                                     << line.arg(2) + "\"first-level\" needs the name of a file, with \\\\, \\r, \\n "
                                                      "and \\x escapes only.";
    QTest::newRow("a digest in capitals")
        << sealed(changed(5, "language-sha256 " + Digest.toUpper()))
        << line.arg(6) + "\"language-sha256\" needs 64 lower-case hexadecimal digits.";
    QTest::newRow("a short digest") << sealed(changed(3, "level-sha256 " + Digest.left(63)))
                                    << line.arg(4) + "\"level-sha256\" needs 64 lower-case hexadecimal digits.";
    const QString language = line.arg(7) + "\"language\" needs the number of a language, 1 to 30.";
    for (const char *number : {"0", "31", "01", "1x", "", "99999999999999999999"})
        QTest::addRow("language \"%s\"", number) << sealed(changed(6, QByteArray("language ") + number)) << language;
    const QString location = line.arg(8) + "\"location\" needs a location of the map, 1A to 9I.";
    for (const char *at : {"0A", "1J", "3c", "10A", ""})
        QTest::addRow("location \"%s\"", at) << sealed(changed(7, QByteArray("location ") + at)) << location;
    const QString carried = line.arg(9) + "\"carried\" needs the letters of items, A to Z, each once and in order.";
    for (const char *letters : {"BA", "AA", "a", "A B"})
        QTest::addRow("carried \"%s\"", letters) << sealed(changed(8, QByteArray("carried ") + letters)) << carried;
    const QString record = line.arg(11) + "\"record\" needs a location of the map, later than the one before, a space "
                                          "and the record, with \\\\, \\r, \\n and \\x escapes only.";
    for (const char *second : {"record 1A again", "record 0A x", "record 1Bx", "record 1B", "record 1B \\q",
                               "record 1B \\x4", "record 1B end\\"})
        QTest::addRow("%s", second) << sealed(Lines + QByteArrayList{second}) << record;
}

void TestSavedGame::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    std::string why;
    QCOMPARE(read(bytes, &why), std::nullopt);
    QCOMPARE(QString::fromStdString(why), error);
}

QTEST_APPLESS_MAIN(TestSavedGame)
#include "tst_savedgame.moc"
