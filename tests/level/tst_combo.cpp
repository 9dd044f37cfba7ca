// SPDX-License-Identifier: MIT
#include "combo.h"
#include "qtext.h"

#include <QTest>

class TestCombo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromRow_data();
    void fromRow();
};

// The rule one row of the item manager states, as its line; "-" for none.
void TestCombo::fromRow_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("rule");

    QTest::newRow("A and B make C") << "A" << "B" << "C" << "A+B=C";
    QTest::newRow("last row") << "X" << "Y" << "Z" << "X+Y=Z";
    QTest::newRow("spaces trimmed") << "  A " << " D" << "G" << "A+D=G";
    QTest::newRow("empty first, no rule") << "" << "B" << "C" << "-";
    QTest::newRow("spaces first, no rule") << "   " << "B" << "C" << "-";
    // Read by position: "A+=C" holds "=" where the second ingredient stands.
    QTest::newRow("empty second") << "A" << "" << "C" << "A+==";
    QTest::newRow("longer text as typed") << "AB" << "c" << "D" << "A++==";
    QTest::newRow("separator cannot split the rule") << "|" << "A|B" << "D" << "/+A=B";
}

void TestCombo::fromRow()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, result);
    QFETCH(QString, rule);
    const std::optional<Combo> made = Combo::fromRow(toText(first), toText(second), result.at(0).unicode());
    QCOMPARE(made ? toQString(made->line()) : QStringLiteral("-"), rule);
}

QTEST_GUILESS_MAIN(TestCombo)
#include "tst_combo.moc"
