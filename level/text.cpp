// SPDX-License-Identifier: MIT
#include "text.h"

#include "textcodec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

struct CaseRun
{
    char32_t first;
    char32_t last;
    char32_t stride;
    std::int32_t delta;
};

struct CaseExpansion
{
    char32_t from;
    std::array<char32_t, 3> to; // ended by 0 when shorter
};

#include "casetable.inc"

template<std::size_t Runs, std::size_t Expansions>
void appendCase(Text &out, char32_t c, const CaseRun (&runs)[Runs], const CaseExpansion (&expansions)[Expansions])
{
    // Plain ASCII letters make up nearly all the text the games compare.
    if (c < 0x80) {
        out += c;
        return;
    }
    const auto expansion = std::lower_bound(std::begin(expansions), std::end(expansions), c,
                                            [](const CaseExpansion &e, char32_t v) { return e.from < v; });
    if (expansion != std::end(expansions) && expansion->from == c) {
        for (char32_t to : expansion->to) {
            if (to != 0)
                out += to;
        }
        return;
    }
    const auto run = std::upper_bound(std::begin(runs), std::end(runs), c,
                                      [](char32_t v, const CaseRun &r) { return v < r.first; });
    if (run != std::begin(runs)) {
        const CaseRun &r = *(run - 1);
        if (c <= r.last && (c - r.first) % r.stride == 0) {
            out += char32_t(std::int32_t(c) + r.delta);
            return;
        }
    }
    out += c;
}

} // namespace

namespace text {

TextView trimSpaces(TextView text)
{
    const auto first = text.find_first_not_of(U' ');
    if (first == TextView::npos)
        return text.substr(text.size());
    return text.substr(first, text.find_last_not_of(U' ') - first + 1);
}

Text upper(TextView text)
{
    Text out;
    upper(text, out);
    return out;
}

void upper(TextView text, Text &out)
{
    out.clear();
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= U'a' && c <= U'z')
            out += c - 32;
        else
            appendCase(out, c, upperRuns, upperExpansions);
    }
}

Text lower(TextView text)
{
    Text out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= U'A' && c <= U'Z')
            out += c + 32;
        else
            appendCase(out, c, lowerRuns, lowerExpansions);
    }
    return out;
}

Text replaced(TextView text, TextView what, TextView with)
{
    Text out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(what); at != TextView::npos && !what.empty(); at = text.find(what, start)) {
        out.append(text.substr(start, at - start));
        out.append(with);
        start = at + what.size();
    }
    out.append(text.substr(start));
    return out;
}

void replaceAll(Text &text, TextView what, TextView with)
{
    if (!what.empty() && text.find(what) != Text::npos)
        text = replaced(text, what, with);
}

void appendReplacing(Text &text, TextView from, char32_t what, TextView with)
{
    // Records and narratives may be many megabytes: grow once, then copy runs.
    const std::size_t count = std::size_t(std::count(from.begin(), from.end(), what));
    const std::size_t needed = text.size() + from.size() + count * with.size() - count;
    if (needed > text.capacity())
        text.reserve(std::max(needed, 2 * text.capacity()));
    std::size_t start = 0;
    for (std::size_t at = from.find(what); at != TextView::npos; at = from.find(what, start)) {
        text.append(from.substr(start, at - start));
        text.append(with);
        start = at + 1;
    }
    text.append(from.substr(start));
}

std::vector<TextView> split(TextView text, char32_t separator)
{
    std::vector<TextView> pieces;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != TextView::npos; at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

Text fromUtf8(std::string_view bytes)
{
    return TextCodec::decodeUtf8Lossy(bytes);
}

std::string toUtf8(TextView text)
{
    return TextCodec::encode(text, TextCodec::Encoding::Utf8);
}

Text number(long long value)
{
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

std::string inQuotes(std::string_view utf8)
{
    return "\"" + std::string(utf8) + "\"";
}

std::string inQuotes(TextView text)
{
    return inQuotes(toUtf8(text));
}

std::string plainLineEnds(std::string_view utf8)
{
    std::string plain;
    plain.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n'))
            plain += utf8[i];
    }
    return plain;
}

} // namespace text
