// SPDX-License-Identifier: MIT
#include "ruletoken.h"

#include "level.h"
#include "levelformat.h"

namespace {

// "|" ends a token in the ComboString, so one typed into a box would split the
// row's rule in two and shift everything after it; it goes in as "/" instead.
QString ingredient(const QString &typed)
{
    QString text = LevelFormat::trimSpaces(typed);
    text.replace(u'|', u'/');
    return text;
}

} // namespace

QString RuleToken::fromRow(int k, const QString &first, const QString &second)
{
    const QString f = ingredient(first);
    if (f.isEmpty() || k < 1 || k > Level::ItemCount)
        return {};
    QString s = ingredient(second);
    // The document reads a token by character position (result = 5th), so an
    // empty second ingredient keeps its place as a space; otherwise the result
    // letter would slide into 4th place and be lost.
    if (s.isEmpty())
        s = QStringLiteral(" ");
    return f + u'+' + s + u'=' + QChar(u'A' + k - 1);
}
