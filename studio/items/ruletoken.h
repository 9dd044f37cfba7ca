// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

// The rule one row of the item manager states, as the line of a rule:
// first ingredient, "+", second ingredient, "=", the row's letter. Kept apart
// from the widgets so the rows' meaning can be checked on plain text.
class RuleToken
{
public:
    // Row k (1 = A ... 26 = Z) makes the k-th letter from first and second.
    // Returns an empty text when the row states no rule (first box blank).
    static Text fromRow(int k, TextView first, TextView second);
};
