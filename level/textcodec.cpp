// SPDX-License-Identifier: MIT
#include "textcodec.h"

#include "hugepages.h"

#include <algorithm>

namespace {

constexpr char32_t Invalid = 0xFFFFFFFF;

// The character of a well-formed UTF-8 sequence at bytes[at], moving at past
// it; Invalid (and at moved by one byte) for anything else: overlong forms,
// surrogates, values beyond U+10FFFF and cut-off sequences.
char32_t nextUtf8(std::string_view bytes, std::size_t &at)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length;
    char32_t c;
    char32_t least;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        ++at;
        return Invalid;
    }
    if (at + length > bytes.size()) {
        ++at;
        return Invalid;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char follow = byte(at + i);
        if ((follow & 0xC0) != 0x80) {
            ++at;
            return Invalid;
        }
        c = (c << 6) | (follow & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return Invalid;
    }
    at += length;
    return c;
}

void appendCharacter(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool startsWithBom(std::string_view bytes)
{
    return bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

} // namespace

TextCodec::Encoding TextCodec::detect(std::string_view bytes)
{
    std::size_t at = startsWithBom(bytes) ? 3 : 0;
    while (at < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        if (nextUtf8(bytes, at) == Invalid)
            return Encoding::Latin1;
    }
    return Encoding::Utf8;
}

std::string_view TextCodec::content(std::string_view bytes, Encoding encoding)
{
    return encoding == Encoding::Utf8 && startsWithBom(bytes) ? bytes.substr(3) : bytes;
}

void TextCodec::append(Text &out, std::string_view bytes, Encoding encoding, char what, TextView with)
{
    out.reserve(out.size() + bytes.size());
    adviseHugePages(out.data() + out.size(), bytes.size() * sizeof(char32_t));
    std::size_t at = 0;
    while (at < bytes.size()) {
        // Runs of plain characters, nearly all of a narrative, are widened at once.
        std::size_t run = at;
        while (run < bytes.size() && bytes[run] != what
               && (encoding == Encoding::Latin1 || static_cast<unsigned char>(bytes[run]) < 0x80))
            ++run;
        if (run > at) {
            const std::size_t start = out.size();
            out.resize(start + (run - at));
            std::transform(bytes.begin() + at, bytes.begin() + run, out.begin() + start,
                           [](char c) { return char32_t(static_cast<unsigned char>(c)); });
            at = run;
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (what != 0 && byte == static_cast<unsigned char>(what)) {
            out += with;
            ++at;
        } else if (byte < 0x80 || encoding == Encoding::Latin1) {
            // Latin-1: every byte is the character of its value.
            out.push_back(byte);
            ++at;
        } else {
            out.push_back(nextUtf8(bytes, at));
        }
    }
}

Text TextCodec::decode(std::string_view bytes, Encoding *found)
{
    const Encoding encoding = detect(bytes);
    if (found)
        *found = encoding;
    Text text;
    append(text, content(bytes, encoding), encoding);
    return text;
}

Text TextCodec::decodeUtf8Lossy(std::string_view bytes)
{
    Text text;
    text.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const char32_t c = nextUtf8(bytes, at);
        text += c == Invalid ? char32_t(0xFFFD) : c;
    }
    return text;
}

bool TextCodec::fitsLatin1(TextView text)
{
    return std::all_of(text.begin(), text.end(), [](char32_t c) { return c <= 0xFF; });
}

std::string TextCodec::encode(TextView text, Encoding encoding)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    appendEncoded(out, text, encoding == Encoding::Latin1 && fitsLatin1(text) ? Encoding::Latin1 : Encoding::Utf8);
    return out;
}

void TextCodec::appendEncoded(std::string &out, TextView text, Encoding encoding)
{
    if (encoding == Encoding::Utf8) {
        appendUtf8(out, text);
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + text.size());
    std::transform(text.begin(), text.end(), out.begin() + start, [](char32_t c) { return char(c); });
}

void TextCodec::appendUtf8(std::string &out, TextView text)
{
    // Runs of plain ASCII go across as they are.
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t run = at;
        while (run < text.size() && text[run] < 0x80)
            ++run;
        if (run > at) {
            const std::size_t start = out.size();
            out.resize(start + (run - at));
            std::transform(text.begin() + at, text.begin() + run, out.begin() + start, [](char32_t c) { return char(c); });
            at = run;
            continue;
        }
        char32_t c = text[at++];
        // A character no UTF-8 can hold (a lone surrogate) is written as U+FFFD.
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = 0xFFFD;
        appendCharacter(out, c);
    }
}

void TextCodec::appendUtf8Lines(std::string &out, TextView text)
{
    std::size_t start = 0;
    for (std::size_t at = text.find(U"\r\n"); at != TextView::npos; at = text.find(U"\r\n", start)) {
        appendUtf8(out, text.substr(start, at - start));
        out += '\n';
        start = at + 2;
    }
    appendUtf8(out, text.substr(start));
}

std::vector<TextView> TextCodec::lines(TextView text)
{
    // Counted first, as for the bytes of a file.
    std::size_t count = 1;
    for (std::size_t at = text.find(U'\n'); at != TextView::npos; at = text.find(U'\n', at + 1))
        ++count;
    std::vector<TextView> result;
    result.reserve(count);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(U'\n', start);
        const std::size_t next = end == TextView::npos ? text.size() : end + 1;
        if (end == TextView::npos)
            end = text.size();
        if (end > start && text[end - 1] == U'\r')
            --end;
        result.push_back(text.substr(start, end - start));
        start = next;
    }
    return result;
}

std::vector<std::string_view> TextCodec::lines(std::string_view bytes)
{
    // Counted first, each line end found as the loop below finds it: growing
    // the list line by line would copy it again and again.
    std::size_t count = 1;
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1))
        ++count;
    std::vector<std::string_view> result;
    result.reserve(count);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        result.push_back(bytes.substr(start, end - start));
        start = next;
    }
    return result;
}
