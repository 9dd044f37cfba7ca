// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// One combination rule: the result item is made from the two ingredients.
// Each field is one item letter, or empty in a free row.
struct Combo
{
    QString first;
    QString second;
    QString result;

    friend bool operator==(const Combo &, const Combo &) = default;
};
