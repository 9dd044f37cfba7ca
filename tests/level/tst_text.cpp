// SPDX-License-Identifier: MIT
#include "qtext.h"
#include "text.h"
#include "textcodec.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

// The core's text rules against Qt's, which the programs used before and
// whose results stored games and transcripts rely on.
class TestText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caseOfEveryCharacter();
    void decodeAsQtDoes();
    void trim_data();
    void trim();
    void lines_data();
    void lines();
    void encode();
};

void TestText::caseOfEveryCharacter()
{
    int differences = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString one = QString::fromUcs4(&c, 1);
        const Text text(1, c);
        if (toQString(text::upper(text)) != one.toUpper() || toQString(text::lower(text)) != one.toLower()) {
            if (++differences < 5)
                qWarning("U+%04X cases differently", unsigned(c));
        }
    }
    QCOMPARE(differences, 0);
    QCOMPARE(toQString(text::upper(U"straße ǆ ﬁx")), QStringLiteral("STRASSE Ǆ FIX"));
}

void TestText::decodeAsQtDoes()
{
    // Random bytes, weighted towards the ones that make and break UTF-8.
    QRandomGenerator random(20261207);
    const QByteArray alphabet("aZ~|\r\n \x7f\xc3\xa9\x80\xbf\xe2\x82\xac\xf0\x9f\x98\x80\xed\xa0\xc0\xef\xbb\xbf\xff");
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int size = random.bounded(12);
        for (int i = 0; i < size; ++i)
            bytes += alphabet.at(random.bounded(alphabet.size()));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString expected = utf8.decode(bytes);
        const bool valid = !utf8.hasError();
        if (!valid)
            expected = QString::fromLatin1(bytes);
        TextCodec::Encoding found;
        const Text text = TextCodec::decode(bytes.toStdString(), &found);
        QVERIFY2(toQString(text) == expected, bytes.toHex().constData());
        QCOMPARE(found == TextCodec::Encoding::Utf8, valid);
        // What was read writes back byte for byte, but a UTF-8 mark at the start.
        const QByteArray back = QByteArray::fromStdString(TextCodec::encode(text, found));
        QCOMPARE(back, bytes.startsWith("\xef\xbb\xbf") && valid ? bytes.mid(3) : bytes);
    }
}

void TestText::trim_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("spaces") << "  a b  " << "a b";
    QTest::newRow("tabs stay") << "\ta\t" << "\ta\t";
    QTest::newRow("only spaces") << "   " << "";
    QTest::newRow("empty") << "" << "";
}

void TestText::trim()
{
    QFETCH(QString, text);
    QTEST(toQString(Text(text::trimSpaces(toText(text)))), "trimmed");
}

void TestText::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("bare LF and no last end") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("bare CR stays") << "a\rb\r\n" << QStringList{"a\rb"};
    QTest::newRow("empty lines") << "\r\n\n" << QStringList{"", ""};
}

void TestText::lines()
{
    QFETCH(QString, text);
    const Text whole = toText(text);
    QStringList got;
    for (TextView line : TextCodec::lines(whole))
        got << toQString(Text(line));
    QTEST(got, "lines");
}

void TestText::encode()
{
    QCOMPARE(TextCodec::encode(U"caf\u00e9", TextCodec::Encoding::Latin1), std::string("caf\xe9"));
    QCOMPARE(TextCodec::encode(U"\u20ac", TextCodec::Encoding::Latin1), std::string("\xe2\x82\xac"));
    QCOMPARE(text::fromUtf8("a\xff"), Text(U"a\uFFFD"));
}

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
