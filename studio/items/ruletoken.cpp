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
    // An empty second ingredient still gives a token, read by position as a
    // rule with "=" for its second ingredient and no result.
    return f + u'+' + ingredient(second) + u'=' + QChar(u'A' + k - 1);
}
