// SPDX-License-Identifier: MIT
#include "locationrecord.h"

#include <algorithm>

namespace {

constexpr TextView Requires = LocationRecord::RequiresWord;
constexpr TextView LoadLevel = LocationRecord::LoadLevelTag;
constexpr TextView Comment = LocationRecord::CommentWord;

// The end of the piece that holds position at: the next "|" or the end.
std::size_t pieceEnd(TextView record, std::size_t at)
{
    const std::size_t end = record.find(U'|', at);
    return end == TextView::npos ? record.size() : end;
}

TextView slice(TextView text, std::size_t from, std::size_t to)
{
    from = std::min(from, text.size());
    return text.substr(from, std::max(from, std::min(to, text.size())) - from);
}

// Appends a piece with its line breaks, CR LF or a bare LF, written as "~".
void appendFolded(Text &out, TextView piece)
{
    std::size_t start = 0;
    for (std::size_t at = piece.find(U'\n'); at != TextView::npos; at = piece.find(U'\n', start)) {
        const std::size_t end = at > start && piece[at - 1] == U'\r' ? at - 1 : at;
        out.append(piece.substr(start, end - start));
        out += U'~';
        start = at + 1;
    }
    out.append(piece.substr(start));
}

// Whether normalising would leave the record as it is: no line feed, a
// narrative that is not blank, no blank piece after it, and a closing "|".
bool isNormal(TextView record)
{
    if (record.empty() || record.back() != U'|' || record.find(U'\n') != TextView::npos)
        return false;
    std::size_t start = 0;
    for (std::size_t bar = record.find(U'|'); bar != TextView::npos; bar = record.find(U'|', start)) {
        if (text::isBlank(record.substr(start, bar - start)))
            return false;
        start = bar + 1;
    }
    return true;
}

// "ITEM X" as characters of its own: play takes and drops items all the
// time, and a text for each tag would cost more than the change.
std::array<char32_t, LocationRecord::ItemWord.size() + 1> itemTagOf(int item)
{
    std::array<char32_t, LocationRecord::ItemWord.size() + 1> tag;
    std::copy(LocationRecord::ItemWord.begin(), LocationRecord::ItemWord.end(), tag.begin());
    tag.back() = ItemLetter::of(item);
    return tag;
}

TextView viewOf(const std::array<char32_t, LocationRecord::ItemWord.size() + 1> &tag)
{
    return {tag.data(), tag.size()};
}

// A "|" typed into a text would end its piece early.
Text storable(TextView typed)
{
    Text text(typed);
    std::replace(text.begin(), text.end(), U'|', U'/');
    return text;
}

} // namespace

Text LocationRecord::itemTag(int item)
{
    return Text(viewOf(itemTagOf(item)));
}

Text LocationRecord::pathTag(Direction d)
{
    return Text(PathWord) + char32_t(directionLetter(d));
}

Text LocationRecord::requirementTag(Direction d)
{
    return pathTag(d) + Text(RequiresWord);
}

TextView LocationRecord::narrative() const
{
    const TextView record = whole;
    return record.substr(0, pieceEnd(record, 0));
}

TextView LocationRecord::editorNarrative() const
{
    const TextView first = narrative();
    // The tags' words without their blank: "ITEM", "PATH", then the others.
    for (TextView word : {ItemWord.substr(0, 4), PathWord.substr(0, 4), StartTag, EndTag, LoadLevel}) {
        if (text::contains(first, word))
            return DefaultNarrative;
    }
    return first;
}

LocationRecord::Tags LocationRecord::tags() const
{
    const TextView record = whole;
    Tags found;
    auto at = [record](std::size_t i, TextView word) { return record.substr(i, word.size()) == word; };
    for (std::size_t i = 0; i < record.size(); ++i) {
        switch (record[i]) {
        case U'P':
            if (at(i, PathWord) && i + 5 < record.size()) {
                const std::size_t d = TextView(U"NSEW").find(record[i + 5]);
                if (d == TextView::npos)
                    break;
                if (found.paths[d] == Tags::None)
                    found.paths[d] = i;
                if (found.requirements[d] == Tags::None && at(i + 6, Requires))
                    found.requirements[d] = i;
            }
            break;
        case U'I':
            if (at(i, ItemWord) && i + 5 < record.size() && ItemLetter::item(record[i + 5]) >= 0)
                found.items |= std::uint32_t(1) << ItemLetter::item(record[i + 5]);
            break;
        case U'E':
            if (found.end == Tags::None && at(i, EndTag))
                found.end = i;
            break;
        case U'L':
            if (found.levelLoad == Tags::None && at(i, LoadLevel))
                found.levelLoad = i;
            break;
        default:
            break;
        }
    }
    return found;
}

std::size_t LocationRecord::pathAt(Direction d) const
{
    return tags().paths[int(d)];
}

std::size_t LocationRecord::itemAt(int item) const
{
    return whole.find(itemTag(item));
}

std::size_t LocationRecord::levelLoadAt() const
{
    return tags().levelLoad;
}

bool LocationRecord::hasPath(Direction d) const
{
    return tags().paths[int(d)] != Tags::None;
}

std::optional<LocationRecord::Requirement> LocationRecord::requirement(Direction d) const
{
    return requirement(d, tags());
}

std::optional<LocationRecord::Requirement> LocationRecord::requirement(Direction d, const Tags &tags) const
{
    const TextView record = whole;
    const std::size_t at = tags.requirements[int(d)];
    if (at == Tags::None)
        return std::nullopt;
    const std::size_t letter = at + 16;
    const std::size_t end = pieceEnd(record, letter);
    if (letter >= end)
        return Requirement{};
    return Requirement{record[letter], slice(record, letter + 1, end)};
}

bool LocationRecord::holdsItem(int item) const
{
    return (tags().items >> item) & 1u;
}

bool LocationRecord::isEnd() const
{
    return tags().end != Tags::None;
}

bool LocationRecord::loadsLevel() const
{
    return tags().levelLoad != Tags::None;
}

std::optional<LocationRecord::LevelLoad> LocationRecord::levelLoad() const
{
    return levelLoad(tags());
}

std::optional<LocationRecord::LevelLoad> LocationRecord::levelLoad(const Tags &tags) const
{
    const TextView record = whole;
    const std::size_t tag = tags.levelLoad;
    if (tag == Tags::None)
        return std::nullopt;
    const std::size_t comment = record.find(Comment, tag + LoadLevel.size());
    if (comment == TextView::npos)
        return std::nullopt;
    // The word and one separator, then the file up to the blank before COMMENT=.
    TextView file = slice(record, tag + LoadLevel.size() + 1, comment);
    if (!file.empty() && file.back() == U' ')
        file.remove_suffix(1);
    const std::size_t start = comment + Comment.size();
    return LevelLoad{Text(file), Text(slice(record, start, pieceEnd(record, start))), start};
}

LocationRecord::LevelLoad LocationRecord::editorLevelLoad() const
{
    const TextView record = whole;
    const std::size_t tag = record.find(LoadLevel);
    if (tag == TextView::npos)
        return {};
    const std::size_t end = pieceEnd(record, tag + LoadLevel.size());
    const std::size_t file = std::min(tag + LoadLevel.size() + 1, end);
    const std::size_t comment = record.find(Comment, file);
    if (comment != TextView::npos && comment < end)
        return {Text(slice(record, file, comment)), Text(slice(record, comment + Comment.size(), end)),
                comment + Comment.size()};
    return {Text(slice(record, file, end)), {}};
}

LocationRecord::Kind LocationRecord::editorKind(Kind guess) const
{
    Kind kind = guess;
    if (mentionsStart())
        kind = Kind::Start;
    if (isEnd())
        kind = Kind::End;
    if (loadsLevel())
        kind = Kind::LoadLevel;
    return kind;
}

bool LocationRecord::startsForSave() const
{
    return text::contains(whole, Text(StartTag) + U'|');
}

bool LocationRecord::mentionsStart() const
{
    return text::contains(whole, StartTag);
}

bool LocationRecord::showsItems() const
{
    return text::contains(whole, U'|' + Text(ItemWord));
}

std::size_t LocationRecord::itemMentions() const
{
    std::size_t mentions = 0;
    for (std::size_t at = whole.find(ItemWord); at != Text::npos; at = whole.find(ItemWord, at + 1))
        ++mentions;
    return mentions;
}

void LocationRecord::removeItem(int item)
{
    text::replaceAll(whole, viewOf(itemTagOf(item)), U"");
}

void LocationRecord::appendItem(int item)
{
    whole += viewOf(itemTagOf(item));
    whole += U'|';
}

void LocationRecord::appendLine(std::string_view line, TextCodec::Encoding encoding)
{
    // A block is a long narrative and a few short tag lines: room for those
    // lines from the start spares copying the narrative again for each. A
    // short record gets as much again, not the room a long one needs.
    const std::size_t breaks = std::size_t(std::count(line.begin(), line.end(), '~'));
    const std::size_t needed = whole.size() + line.size() + breaks + 1;
    if (needed > whole.capacity())
        whole.reserve(std::max(needed + std::min<std::size_t>(needed, 1024), whole.capacity() + whole.capacity() / 2));
    TextCodec::append(whole, line, encoding, '~', LineBreak);
    whole += U'|';
}


LocationRecord LocationRecord::withLineBreaks() const
{
    if (whole.find(U'~') == Text::npos)
        return *this;
    Text out;
    text::appendReplacing(out, whole, U'~', LineBreak);
    return LocationRecord(std::move(out));
}

bool LocationRecord::isNormalised() const
{
    return isNormal(whole);
}

LocationRecord LocationRecord::normalised() const
{
    if (isNormal(whole))
        return *this;
    const TextView record = whole;
    Text out;
    out.reserve(record.size() + DefaultNarrative.size() + 1);
    bool first = true;
    std::size_t start = 0;
    while (start <= record.size()) {
        const std::size_t bar = pieceEnd(record, start);
        const TextView piece = record.substr(start, bar - start);
        if (first) {
            // A narrative of spaces alone would be read back as the block's end.
            if (text::isBlank(piece))
                out += DefaultNarrative;
            else
                appendFolded(out, piece);
            out += U'|';
            first = false;
        } else if (!text::isBlank(piece)) {
            appendFolded(out, piece);
            out += U'|';
        }
        start = bar + 1;
    }
    return LocationRecord(std::move(out));
}

LocationRecord LocationRecord::compose(const Contents &contents)
{
    Text record = storable(contents.narrative) + U'|';
    for (Direction d : Directions) {
        const Path &path = contents.paths[int(d)];
        if (!path.exists)
            continue;
        record += pathTag(d);
        if (path.letter != 0)
            record += Text(Requires) + path.letter + U' ' + storable(text::trimSpaces(path.lockout));
        record += U'|';
    }
    for (int item : contents.items)
        record += itemTag(item) + U'|';
    switch (contents.kind) {
    case Kind::Start:
        record += Text(StartTag) + U'|';
        break;
    case Kind::End:
        record += Text(EndTag) + U'|';
        break;
    case Kind::LoadLevel:
        record += Text(LoadLevel) + U' ' + storable(text::trimSpaces(contents.levelFile)) + U' ' + Text(Comment)
            + storable(text::trimSpaces(contents.levelComment)) + U'|';
        break;
    case Kind::Normal:
        break;
    case Kind::NotUsed:
        record.clear();
        break;
    }
    return LocationRecord(std::move(record));
}

bool LocationRecord::isStartLine(TextView line)
{
    return text::trimSpaces(line) == StartTag;
}

int LocationRecord::placedItemOfLine(TextView line)
{
    return itemOfPiece(text::trimSpaces(line));
}

int LocationRecord::itemOfPiece(TextView piece)
{
    if (piece.size() == ItemWord.size() + 1 && piece.starts_with(ItemWord))
        return ItemLetter::item(piece.back());
    return -1;
}
