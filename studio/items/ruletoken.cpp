// SPDX-License-Identifier: MIT
#include "ruletoken.h"

#include "level.h"

#include <algorithm>

namespace {

// "|" ends a piece of a record or rule in every text form of a level, so one
// typed into a box goes in as "/", as it always has.
Text ingredient(TextView typed)
{
    Text text(text::trimSpaces(typed));
    std::replace(text.begin(), text.end(), U'|', U'/');
    return text;
}

} // namespace

Text RuleToken::fromRow(int k, TextView first, TextView second)
{
    const Text f = ingredient(first);
    if (f.empty() || k < 1 || k > Level::ItemCount)
        return {};
    // An empty second ingredient still gives a token, read by position as a
    // rule with "=" for its second ingredient and no result.
    return f + U'+' + ingredient(second) + U'=' + char32_t(U'A' + k - 1);
}
