// SPDX-License-Identifier: MIT
#pragma once

#include "problem.h"

#include <string>
#include <string_view>
#include <vector>

// What is wrong with a language file, language by language, as the player
// reads it: blocks cut short, command words it never recognises or that
// another word hides, lists too long to split, directions without a name.
class LanguageLint
{
public:
    // fileName only names the file in messages.
    static std::vector<Problem> check(std::string_view bytes, const std::string &fileName);
};
