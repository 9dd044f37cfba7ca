// SPDX-License-Identifier: MIT
#include "qtext.h"
#include "ruletoken.h"

#include <QTest>

class TestRuleToken : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromRow_data();
    void fromRow();
};

void TestRuleToken::fromRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("token");

    QTest::newRow("A and B make C") << 3 << "A" << "B" << "A+B=C";
    QTest::newRow("last row") << 26 << "X" << "Y" << "X+Y=Z";
    QTest::newRow("spaces trimmed") << 7 << "  A " << " D" << "A+D=G";
    QTest::newRow("empty first, no rule") << 3 << "" << "B" << "";
    QTest::newRow("spaces first, no rule") << 3 << "   " << "B" << "";
    QTest::newRow("empty second") << 3 << "A" << "" << "A+=C";
    QTest::newRow("longer text as typed") << 4 << "AB" << "c" << "AB+c=D";
    QTest::newRow("separator cannot split the token") << 4 << "|" << "A|B" << "/+A/B=D";
    QTest::newRow("row out of range") << 27 << "A" << "B" << "";
}

void TestRuleToken::fromRow()
{
    QFETCH(int, row);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, token);
    QCOMPARE(RuleToken::fromRow(row, toText(first), toText(second)), toText(token));
}

QTEST_GUILESS_MAIN(TestRuleToken)
#include "tst_ruletoken.moc"
