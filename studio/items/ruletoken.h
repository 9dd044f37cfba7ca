// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The rule one row of the item manager states, as a ComboString token:
// first ingredient, "+", second ingredient, "=", the row's letter. Kept apart
// from the widgets so the rows' meaning can be checked on plain text.
class RuleToken
{
public:
    // Row k (1 = A ... 26 = Z) makes the k-th letter from first and second.
    // Returns an empty text when the row states no rule (first box blank).
    static QString fromRow(int k, const QString &first, const QString &second);
};
