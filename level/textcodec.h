// SPDX-License-Identifier: MIT
#pragma once

#include "text.h"

#include <string>
#include <string_view>
#include <vector>

// Level and language files are 8-bit text. Files that are valid UTF-8 are read
// as UTF-8 (a byte-order mark at the start is dropped); anything else is taken
// byte for byte as Latin-1, so every file reads without loss and writes back
// exactly as it was.
class TextCodec
{
public:
    enum class Encoding { Utf8, Latin1 };

    static Text decode(std::string_view bytes, Encoding *found = nullptr);
    // The encoding decode() finds, and the bytes it reads (the UTF-8 mark left out).
    static Encoding detect(std::string_view bytes);
    static std::string_view content(std::string_view bytes, Encoding encoding);
    // Decodes bytes in a known encoding, valid in it, onto the end of out,
    // each byte what (a character below 128) written as with.
    static void append(Text &out, std::string_view bytes, Encoding encoding, char what = 0, TextView with = {});
    // A character Latin-1 cannot hold makes the whole text UTF-8 instead.
    static std::string encode(TextView text, Encoding encoding);
    static void appendUtf8(std::string &out, TextView text);
    // As appendUtf8, with each CR LF written as a plain line end: the
    // console's text for a terminal or a web page.
    static void appendUtf8Lines(std::string &out, TextView text);
    // Whether Latin-1 can hold every character of text.
    static bool fitsLatin1(TextView text);
    static void appendEncoded(std::string &out, TextView text, Encoding encoding);
    // UTF-8 as far as it is valid; each byte that is not gives U+FFFD.
    static Text decodeUtf8Lossy(std::string_view bytes);
    // Splits text into lines ended by CR LF or by a bare LF; a last line
    // without a line end is still a line. The lines are views into text.
    static std::vector<TextView> lines(TextView text);
    // The same for the bytes of a file: line ends are the same bytes in
    // either encoding, so a file can be split before it is decoded.
    static std::vector<std::string_view> lines(std::string_view bytes);
};
