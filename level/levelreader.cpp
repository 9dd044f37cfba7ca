// SPDX-License-Identifier: MIT
#include "levelreader.h"

#include "filebytes.h"

namespace {

constexpr std::string_view LocationMark = "[LOCATION";
constexpr std::string_view MapMark = "[MAP]";
constexpr std::string_view ItemsMark = "[ITEMS]";
constexpr std::string_view CombosMark = "[COMBOS]";

class Reading
{
public:
    Reading(std::string_view bytes, const std::string &fileName)
        : fileName(fileName)
        , encoding(TextCodec::detect(bytes))
        , lines(TextCodec::lines(TextCodec::content(bytes, encoding)))
    {
        result.level.encoding = encoding;
    }

    LevelReader::Result run()
    {
        while (next < lines.size()) {
            const int lineNo = int(next) + 1;
            const std::string_view line = lines[next++];
            // The marks are plain ASCII, which either encoding keeps as it is.
            const std::string_view mark = LevelReader::markOf(line);
            bool read = true;
            if (mark == LocationMark)
                read = readLocation(decoded(line), lineNo);
            else if (mark == MapMark)
                ++result.level.mapSections;
            else if (mark == ItemsMark)
                read = readItems(lineNo);
            else if (mark == CombosMark)
                read = readCombos(lineNo);
            if (!read)
                break;
        }
        if (!result.level.isLevel())
            result.noLevel = LevelReader::notALevel(fileName);
        return std::move(result);
    }

private:
    // A block or section that the end of the file cuts off has lost nothing.
    bool cutOff(int lineNo, const std::string &problem)
    {
        result.cutAtEnd = true;
        return fail(lineNo, problem);
    }

    bool fail(int lineNo, const std::string &problem)
    {
        result.error = "Level file \"" + fileName + "\", line " + std::to_string(lineNo) + ": " + problem;
        result.errorLine = lineNo;
        return false;
    }

    // The lines from the next one to the empty line that ends a block or a
    // section, that line included, or to the end of the file: room for them
    // is made at once.
    std::size_t linesToEmpty() const
    {
        std::size_t count = 0;
        while (next + count < lines.size() && !trimmed(lines[next + count]).empty())
            ++count;
        return count + 1;
    }

    // The next line of a block or section, or nothing at the end of the file.
    const std::string_view *take() { return next < lines.size() ? &lines[next++] : nullptr; }

    // The line decoded into a buffer that the next call reuses: most lines
    // are only looked at, and a text of their own for each would cost more
    // than reading them.
    TextView decoded(std::string_view line)
    {
        scratch.clear();
        TextCodec::append(scratch, line, encoding);
        return scratch;
    }

    // Trimming spaces gives the same line in bytes as in characters.
    static std::string_view trimmed(std::string_view line)
    {
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return {};
        return line.substr(first, line.find_last_not_of(' ') - first + 1);
    }

    // header views the decoding buffer, which the block's lines reuse: it is
    // read only before them.
    bool readLocation(TextView header, int lineNo)
    {
        const char32_t row = header.size() > 10 ? header[10] : 0;
        const char32_t col = header.size() > 11 ? header[11] : 0;
        if (row < U'1' || row > U'9' || col < U'A' || col > U'I') {
            return fail(lineNo, "the location header \"" + text::toUtf8(header)
                                    + "\" does not name a row 1 to 9 and a column A to I at the start of the line, "
                                      "as in \"[LOCATION 3C]\".");
        }
        const GridRef ref{int(row - U'0'), int(col - U'A') + 1};
        Level &level = result.level;
        level.blocks.push_back(ref);
        LevelLines &where = result.lines;
        if (where.headers[ref.index()] == 0)
            where.headers[ref.index()] = lineNo;
        LocationRecord &record = level.record(ref);
        std::vector<std::pair<std::size_t, int>> &pieces = where.pieces[ref.index()];
        pieces.reserve(pieces.size() + linesToEmpty());
        while (const std::string_view *line = take()) {
            pieces.emplace_back(record.text().size(), int(next));
            record.appendLine(*line, encoding);
            const std::string_view tag = trimmed(*line);
            if (tag.empty())
                return true;
            // Only a line as short as "ITEM X" once trimmed starts or places.
            if (tag.size() > 6)
                continue;
            const TextView shortLine = decoded(*line);
            if (LocationRecord::isStartLine(shortLine)) {
                level.start = ref;
                where.starts.emplace_back(ref, int(next));
            }
            if (const int item = LocationRecord::placedItemOfLine(shortLine); item >= 0)
                level.placed[item] = true;
        }
        return cutOff(lineNo, "the block of location " + ref.name()
                                  + " runs into the end of the file without the empty line that ends it.");
    }

    bool readItems(int lineNo)
    {
        result.level.itemsSection = true;
        int position = 0;
        while (const std::string_view *bytes = take()) {
            if (trimmed(*bytes).empty())
                return true;
            const TextView line = decoded(*bytes);
            // "D lamp" names item D; a line without its letter takes the next one.
            int item = position;
            if (line.size() >= 2 && line[0] >= U'A' && line[0] <= U'Z' && line[1] == U' ')
                item = int(line[0] - U'A');
            if (item >= Level::ItemCount) {
                return fail(int(next), "the item line \"" + text::toUtf8(line)
                                           + "\" comes after item Z; a level has at most 26 items, A to Z.");
            }
            result.level.items[item] = Text(line.substr(std::min<std::size_t>(2, line.size())));
            result.lines.items[item] = int(next);
            position = item + 1;
        }
        return cutOff(lineNo,
                      "the [ITEMS] section runs into the end of the file without the empty line that ends it.");
    }

    bool readCombos(int lineNo)
    {
        result.level.combosSection = true;
        std::vector<Combo> &combos = result.level.combos;
        const std::size_t rows = std::min<std::size_t>(linesToEmpty(), Level::ComboRows);
        combos.reserve(combos.size() + rows);
        result.lines.combos.reserve(result.lines.combos.size() + rows);
        while (const std::string_view *line = take()) {
            if (trimmed(*line).empty())
                return true;
            if (combos.size() == Level::ComboRows)
                return fail(int(next), "the [COMBOS] section holds more than 100 rules.");
            combos.push_back(Combo::fromLine(decoded(*line)));
            result.lines.combos.push_back(int(next));
        }
        return cutOff(lineNo,
                      "the [COMBOS] section runs into the end of the file without the empty line that ends it.");
    }

    std::string fileName;
    LevelReader::Result result;
    TextCodec::Encoding encoding;
    std::vector<std::string_view> lines;
    std::size_t next = 0;
    Text scratch;
};

} // namespace

std::string_view LevelReader::markOf(std::string_view line)
{
    for (const std::string_view mark : {LocationMark, MapMark, ItemsMark, CombosMark}) {
        if (line.find(mark) != std::string_view::npos)
            return mark;
    }
    return {};
}

std::string LevelReader::notALevel(const std::string &fileName)
{
    return "\"" + fileName + "\" is not a Quillmoor level: it holds no \"[MAP]\" line, no location block and no "
                                 "\"[ITEMS]\" or \"[COMBOS]\" section.";
}

LevelReader::Result LevelReader::read(std::string_view bytes, const std::string &fileName)
{
    return Reading(bytes, fileName).run();
}

LevelReader::Result LevelReader::readFile(const std::string &path, std::string *bytes)
{
    std::string why;
    std::optional<std::string> read = FileBytes::read(path, &why);
    if (!read) {
        Result result;
        result.error = "Cannot open the level file \"" + path + "\": " + why + ".";
        result.noLevel = result.error;
        return result;
    }
    Result result = LevelReader::read(*read, path);
    if (bytes)
        *bytes = std::move(*read);
    return result;
}
