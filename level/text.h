// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text of levels and language files: one char32_t per character, so a
// position is a character and upper and lower case work character by
// character. Literals are written U"...".
using Text = std::u32string;
using TextView = std::u32string_view;

namespace text {

// Removes spaces, and only spaces, from both ends.
TextView trimSpaces(TextView text);
inline bool isBlank(TextView text) { return trimSpaces(text).empty(); }
inline bool contains(TextView text, TextView what) { return text.find(what) != TextView::npos; }

// Every character in its upper or lower case; a character whose case form
// is several characters (German sharp s becomes SS) gives all of them.
Text upper(TextView text);
Text lower(TextView text);
// As upper(), written over out: for a buffer used again and again.
void upper(TextView text, Text &out);

// Every occurrence of what in text replaced by with, in one pass.
Text replaced(TextView text, TextView what, TextView with);
void replaceAll(Text &text, TextView what, TextView with);
// Appends from to text with every character what replaced by with.
void appendReplacing(Text &text, TextView from, char32_t what, TextView with);
// The pieces between the separators; n separators give n + 1 pieces.
std::vector<TextView> split(TextView text, char32_t separator);

// UTF-8 in and out, for typed lines, arguments and messages; a byte that is
// not UTF-8 reads as U+FFFD.
Text fromUtf8(std::string_view bytes);
std::string toUtf8(TextView text);
// A number in decimal, for building messages.
Text number(long long value);
// A name or a text in double quotes, UTF-8, for messages that quote it.
std::string inQuotes(std::string_view utf8);
std::string inQuotes(TextView text);
// UTF-8 text with each CR LF a plain line end, for a terminal or a page.
std::string plainLineEnds(std::string_view utf8);

} // namespace text
