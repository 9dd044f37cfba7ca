// SPDX-License-Identifier: MIT
#include "documentinput.h"

#include "direction.h"
#include "textcodec.h"

#include <charconv>

namespace {

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    for (;;) {
        const std::size_t tab = line.find('\t');
        out.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return out;
        line.remove_prefix(tab + 1);
    }
}

GridRef location(std::string_view name)
{
    if (name.size() != 2)
        return {};
    return {name[0] - '0', name[1] - 'A' + 1};
}

std::uint32_t itemBits(std::string_view letters)
{
    std::uint32_t bits = 0;
    for (char letter : letters) {
        if (letter >= 'A' && letter <= 'Z')
            bits |= std::uint32_t(1) << (letter - 'A');
    }
    return bits;
}

// What a one-line box holds: a line break typed or pasted is a blank.
Text oneLine(std::string_view bytes)
{
    Text text = text::fromUtf8(bytes);
    for (char32_t &c : text) {
        if (c == U'\r' || c == U'\n')
            c = U' ';
    }
    return text;
}

// What the narrative box holds: its lines joined by CR LF.
Text narrative(std::string_view bytes)
{
    Text text;
    for (char32_t c : text::fromUtf8(bytes)) {
        if (c == U'^')
            text += LocationRecord::LineBreak;
        else if (c != U'\r')
            text += c;
    }
    return text;
}

LocationRecord composed(const std::vector<std::string_view> &f)
{
    auto field = [&f](std::size_t n) { return n < f.size() ? f[n] : std::string_view(); };
    LocationRecord::Contents contents;
    switch (field(2).empty() ? 'n' : field(2)[0]) {
    case '-':
        contents.kind = LocationRecord::Kind::NotUsed;
        break;
    case 's':
        contents.kind = LocationRecord::Kind::Start;
        break;
    case 'e':
        contents.kind = LocationRecord::Kind::End;
        break;
    case 'l':
        contents.kind = LocationRecord::Kind::LoadLevel;
        break;
    default:
        contents.kind = LocationRecord::Kind::Normal;
    }
    const Text paths = text::fromUtf8(field(3));
    for (Direction d : Directions) {
        const std::size_t n = std::size_t(d);
        if (n >= paths.size() || paths[n] == U'.')
            continue;
        contents.paths[n].exists = true;
        contents.paths[n].letter = paths[n] == U'+' ? 0 : paths[n];
        contents.paths[n].lockout = oneLine(field(7 + n));
    }
    for (char letter : field(4)) {
        if (letter >= 'A' && letter <= 'Z')
            contents.items.push_back(letter - 'A');
    }
    contents.narrative = narrative(field(6));
    contents.levelFile = oneLine(field(11));
    contents.levelComment = oneLine(field(12));
    return LocationRecord::compose(contents);
}

int number(std::string_view digits)
{
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

} // namespace

DocumentInput DocumentInput::decode(std::string_view input)
{
    DocumentInput decoded;
    const std::size_t at = input.find(Separator);
    decoded.level = std::string(input.substr(0, at == std::string_view::npos ? input.size() : at + 1));
    if (at == std::string_view::npos)
        return decoded;
    for (std::string_view line : TextCodec::lines(input.substr(at + Separator.size()))) {
        if (decoded.operations.size() == MaxOperations)
            break;
        const std::vector<std::string_view> f = fields(line);
        auto field = [&f](std::size_t n) { return n < f.size() ? f[n] : std::string_view(); };
        Operation op;
        const std::string_view word = f[0];
        if (word == "area") {
            op.kind = Kind::Area;
            op.at = location(field(1));
            op.record = composed(f);
            op.freeItems = itemBits(field(5));
        } else if (word == "mark") {
            op.kind = Kind::Mark;
            op.at = location(field(1));
            op.used = field(2) == "1";
        } else if (word == "open") {
            op.kind = Kind::Open;
            op.at = location(field(1));
        } else if (word == "name") {
            const std::string_view letter = field(1);
            if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z')
                continue;
            op.kind = Kind::Name;
            op.index = letter[0] - 'A';
            op.text = oneLine(field(2));
        } else if (word == "rule" || word == "unrule") {
            op.kind = word == "rule" ? Kind::Rule : Kind::Unrule;
            op.index = number(field(1)) - 1;
            if (op.index < 0)
                continue;
            op.text = oneLine(field(2));
        } else if (word == "undo") {
            op.kind = Kind::Undo;
        } else if (word == "redo") {
            op.kind = Kind::Redo;
        } else if (word == "save") {
            op.kind = Kind::Save;
        } else {
            continue;
        }
        decoded.operations.push_back(std::move(op));
    }
    return decoded;
}
