// SPDX-License-Identifier: MIT
#include "gamepage.h"

#include "text.h"

#include <algorithm>
#include <cstdint>

namespace {

void appendBase64(std::string &out, std::string_view bytes)
{
    static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = unsigned(std::uint8_t(bytes[i])) << 16 | unsigned(std::uint8_t(bytes[i + 1])) << 8
            | unsigned(std::uint8_t(bytes[i + 2]));
        out += {Digits[n >> 18], Digits[n >> 12 & 63], Digits[n >> 6 & 63], Digits[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned n = unsigned(std::uint8_t(bytes[i])) << 16;
        out += {Digits[n >> 18], Digits[n >> 12 & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned n = unsigned(std::uint8_t(bytes[i])) << 16 | unsigned(std::uint8_t(bytes[i + 1])) << 8;
        out += {Digits[n >> 18], Digits[n >> 12 & 63], Digits[n >> 6 & 63], '='};
    }
}

// A JSON string. "<", ">" and "&" are escaped too, so that no file name can
// end the script element that holds the data; a byte that is not UTF-8
// becomes U+FFFD, as the engine reads such names.
void appendString(std::string &out, std::string_view utf8)
{
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text::toUtf8(text::fromUtf8(utf8))) {
        const auto byte = std::uint8_t(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
            out += "\\u00";
            out += {Hex[byte >> 4], Hex[byte & 15]};
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

std::string GamePage::json(const Game &game)
{
    std::string out = "{\"folders\":[";
    for (std::size_t i = 0; i < game.folders.size(); ++i) {
        if (i)
            out += ',';
        appendString(out, game.folders[i]);
    }
    out += "],\"folder\":";
    appendString(out, game.folder);
    out += ",\"level\":";
    appendString(out, game.level);
    out += ",\"language\":";
    appendString(out, game.language);
    out += ",\"files\":[";
    for (std::size_t i = 0; i < game.files.size(); ++i) {
        out += i ? ",{\"path\":" : "{\"path\":";
        appendString(out, game.files[i].path);
        out += ",\"bytes\":\"";
        appendBase64(out, game.files[i].bytes);
        out += "\"}";
    }
    out += "]}";
    return out;
}

std::string GamePage::html(std::string_view utf8)
{
    std::string out;
    for (const char c : text::toUtf8(text::fromUtf8(utf8))) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            // Control characters have no place in a title; a space shows
            // where one was.
            out += std::uint8_t(c) < 0x20 || c == 0x7f ? ' ' : c;
        }
    }
    return out;
}

std::optional<std::string> GamePage::fill(std::string_view runtime, const Game &game)
{
    const std::size_t at = runtime.find(Marker);
    if (at == std::string_view::npos || runtime.find(Marker, at + 1) != std::string_view::npos)
        return std::nullopt;
    const std::string data = json(game);
    const std::string title = html(game.title);
    std::string page;
    page.reserve(runtime.size() + data.size());
    // One pass over the runtime alone: what is filled in is never searched
    // for markers, whatever the game's names hold.
    for (std::size_t from = 0;;) {
        const std::size_t next = std::min(runtime.find(Marker, from), runtime.find(TitleMarker, from));
        page.append(runtime.substr(from, next - from));
        if (next == std::string_view::npos)
            break;
        const bool isData = next == at;
        page.append(isData ? data : title);
        from = next + (isData ? Marker : TitleMarker).size();
    }
    return page;
}
