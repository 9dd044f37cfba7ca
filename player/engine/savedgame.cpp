// SPDX-License-Identifier: MIT
#include "savedgame.h"

#include "filebytes.h"
#include "languagetable.h"
#include "sha256.h"
#include "textcodec.h"

#include <tuple>

namespace {

constexpr std::string_view Heading = "Quillmoor saved game, version ";

std::string escaped(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (byte < 0x20 || byte == 0x7F)
            out += {'\\', 'x', Digits[byte >> 4], Digits[byte & 15]};
        else
            out += c;
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> unescaped(std::string_view written)
{
    std::string out;
    out.reserve(written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] != '\\') {
            out += written[i];
            continue;
        }
        const char kind = i + 1 < written.size() ? written[++i] : 0;
        if (kind == '\\') {
            out += '\\';
        } else if (kind == 'r') {
            out += '\r';
        } else if (kind == 'n') {
            out += '\n';
        } else if (kind == 'x' && i + 2 < written.size() && hexDigit(written[i + 1]) >= 0
                   && hexDigit(written[i + 2]) >= 0) {
            out += char(hexDigit(written[i + 1]) << 4 | hexDigit(written[i + 2]));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<GridRef> locationOf(std::string_view written)
{
    if (written.size() != 2 || written[0] < '1' || written[0] > '9' || written[1] < 'A' || written[1] > 'I')
        return std::nullopt;
    return GridRef{written[0] - '0', written[1] - 'A' + 1};
}

bool isDigest(std::string_view written)
{
    if (written.size() != 64)
        return false;
    for (const char c : written) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// A line's words for a message: escaped, and cut short.
std::string shown(std::string_view line)
{
    const std::string text = escaped(line.substr(0, 40));
    return text::inQuotes(line.size() > 40 ? text + "..." : text);
}

// The lines of a saved game and the entries they hold, read in order.
class Entries
{
public:
    Entries(std::vector<std::string_view> lines, std::string fileName, std::string *error)
        : lines(std::move(lines))
        , fileName(std::move(fileName))
        , error(error)
    {
    }

    // The value of the next entry, which must be key; nothing, and the
    // reason in error, when it is not.
    std::optional<std::string_view> next(std::string_view key)
    {
        const std::string_view line = at < lines.size() ? lines[at] : std::string_view();
        const std::size_t space = line.find(' ');
        if (line.substr(0, space) != key) {
            ++at; // the line at fault
            fault("the entry " + text::inQuotes(key) + " should come next, not " + shown(line) + ".");
            return std::nullopt;
        }
        ++at;
        return space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    }
    bool done() const { return at == lines.size(); }

    // The fault of the entry just read.
    std::nullopt_t fault(const std::string &what)
    {
        if (error)
            *error = "Saved game " + text::inQuotes(fileName) + ", line " + std::to_string(at) + ": " + what;
        return std::nullopt;
    }

    std::optional<std::string> name(std::string_view key)
    {
        const std::optional<std::string_view> value = next(key);
        if (!value)
            return std::nullopt;
        std::optional<std::string> name = unescaped(*value);
        if (!name || name->empty() || name->find('\0') != std::string::npos) {
            fault(text::inQuotes(key) + " needs the name of a file, with \\\\, \\r, \\n and \\x escapes only.");
            return std::nullopt;
        }
        return name;
    }

    std::optional<std::string> digest(std::string_view key)
    {
        const std::optional<std::string_view> value = next(key);
        if (!value)
            return std::nullopt;
        if (!isDigest(*value)) {
            fault(text::inQuotes(key) + " needs 64 lower-case hexadecimal digits.");
            return std::nullopt;
        }
        return std::string(*value);
    }

    // A file's name and digest.
    std::optional<SavedGame::File> file(std::string_view nameKey, std::string_view digestKey)
    {
        std::optional<std::string> named = name(nameKey);
        if (!named)
            return std::nullopt;
        std::optional<std::string> sum = digest(digestKey);
        if (!sum)
            return std::nullopt;
        return SavedGame::File{std::move(*named), std::move(*sum)};
    }

private:
    std::vector<std::string_view> lines;
    std::string fileName;
    std::string *error;
    std::size_t at = 1; // the heading is read
};

} // namespace

std::string SavedGame::text() const
{
    std::string out;
    auto entry = [&out](std::string_view key, std::string_view value) {
        out += key;
        if (!value.empty()) {
            out += ' ';
            out += value;
        }
        out += '\n';
    };
    out += Heading;
    out += std::to_string(Version) + '\n';
    entry("first-level", escaped(firstLevel));
    entry("level", escaped(level.name));
    entry("level-sha256", level.sha256);
    entry("language-file", escaped(language.name));
    entry("language-sha256", language.sha256);
    entry("language", std::to_string(languageNumber));
    entry("location", position.name());
    std::string letters;
    for (int item = 0; item < 26; ++item) {
        if (carried & (1u << item))
            letters += char('A' + item);
    }
    entry("carried", letters);
    for (const Record &record : records)
        entry("record", record.at.name() + ' ' + escaped(text::toUtf8(record.text)));
    entry("end", Sha256::hex(out));
    return out;
}

bool SavedGame::writeFile(const std::string &path, std::string *error) const
{
    std::string why;
    if (FileBytes::write(path, text(), &why))
        return true;
    if (error)
        *error = "Cannot save the game to " + text::inQuotes(path) + ": " + why + ".";
    return false;
}

std::optional<SavedGame> SavedGame::read(std::string_view bytes, const std::string &fileName, std::string *error)
{
    auto refuse = [&](const std::string &why) -> std::optional<SavedGame> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    // Lines without their line ends; the digest is taken over them each with
    // an LF, so a file whose line ends were made CR LF on the way still reads.
    std::vector<std::string_view> lines = TextCodec::lines(bytes);

    const std::string_view heading = lines.empty() ? std::string_view() : lines[0];
    if (heading.substr(0, Heading.size()) != Heading) {
        return refuse(text::inQuotes(fileName) + " is not a Quillmoor saved game: its first line is not "
                      + text::inQuotes(std::string(Heading) + std::to_string(Version)) + ".");
    }
    if (heading.substr(Heading.size()) != std::to_string(Version)) {
        return refuse(text::inQuotes(fileName) + " is a Quillmoor saved game of version "
                      + shown(heading.substr(Heading.size())) + ", which this version of Quillmoor cannot read (it reads version "
                      + std::to_string(Version) + ").");
    }

    std::size_t last = 0;
    while (last < lines.size() && lines[last].substr(0, lines[last].find(' ')) != "end")
        ++last;
    if (last == lines.size()) {
        return refuse("The saved game " + text::inQuotes(fileName) + " is cut short: it ends on line "
                      + std::to_string(lines.size()) + " without its \"end\" line.");
    }
    Sha256 sum;
    for (std::size_t i = 0; i < last; ++i) {
        sum.add(lines[i]);
        sum.add("\n");
    }
    const std::string_view check = lines[last].substr(std::min(lines[last].size(), std::size_t(4)));
    if (last + 1 != lines.size() || check != sum.hex()) {
        return refuse("The saved game " + text::inQuotes(fileName) + " is damaged: its lines do not match the check on its "
                      "\"end\" line (line " + std::to_string(last + 1) + "), so it has been changed or cut since it "
                      "was written.");
    }
    lines.resize(last);

    Entries entries(std::move(lines), fileName, error);
    SavedGame saved;
    const std::optional<std::string> first = entries.name("first-level");
    if (!first)
        return std::nullopt;
    saved.firstLevel = *first;
    std::optional<File> level = entries.file("level", "level-sha256");
    if (!level)
        return std::nullopt;
    saved.level = std::move(*level);
    std::optional<File> language = entries.file("language-file", "language-sha256");
    if (!language)
        return std::nullopt;
    saved.language = std::move(*language);

    const std::optional<std::string_view> number = entries.next("language");
    if (!number)
        return std::nullopt;
    saved.languageNumber = 0;
    for (const char c : *number) {
        if (c < '0' || c > '9' || saved.languageNumber > LanguageTable::MaxLanguages)
            break;
        saved.languageNumber = saved.languageNumber * 10 + (c - '0');
    }
    if (number->empty() || *number != std::to_string(saved.languageNumber) || saved.languageNumber < 1
        || saved.languageNumber > LanguageTable::MaxLanguages) {
        return entries.fault("\"language\" needs the number of a language, 1 to "
                             + std::to_string(LanguageTable::MaxLanguages) + ".");
    }

    const std::optional<std::string_view> location = entries.next("location");
    if (!location)
        return std::nullopt;
    const std::optional<GridRef> position = locationOf(*location);
    if (!position)
        return entries.fault("\"location\" needs a location of the map, 1A to 9I.");
    saved.position = *position;

    const std::optional<std::string_view> carried = entries.next("carried");
    if (!carried)
        return std::nullopt;
    for (std::size_t i = 0; i < carried->size(); ++i) {
        const char c = (*carried)[i];
        if (c < 'A' || c > 'Z' || (i > 0 && c <= (*carried)[i - 1]))
            return entries.fault("\"carried\" needs the letters of items, A to Z, each once and in order.");
        saved.carried |= 1u << (c - 'A');
    }

    while (!entries.done()) {
        const std::optional<std::string_view> record = entries.next("record");
        if (!record)
            return std::nullopt;
        const std::optional<GridRef> at = locationOf(record->substr(0, 2));
        std::optional<std::string> text;
        if (record->size() >= 3 && (*record)[2] == ' ')
            text = unescaped(record->substr(3));
        if (!at || (!saved.records.empty() && at->index() <= saved.records.back().at.index()) || !text) {
            return entries.fault("\"record\" needs a location of the map, later than the one before, a space and "
                                 "the record, with \\\\, \\r, \\n and \\x escapes only.");
        }
        saved.records.push_back({*at, text::fromUtf8(*text)});
    }
    return saved;
}

std::optional<SavedGame> SavedGame::readFile(const std::string &path, std::string *error)
{
    std::string why;
    const std::optional<std::string> bytes = FileBytes::read(path, &why);
    if (!bytes) {
        if (error)
            *error = "Cannot open the saved game " + text::inQuotes(path) + ": " + why + ".";
        return std::nullopt;
    }
    return read(*bytes, path, error);
}

std::optional<SavedGame> SavedGame::startingAt(const std::string &levelFile, GridRef at, std::uint32_t carried,
                                               const std::string &languageFile, std::string *error)
{
    SavedGame saved;
    saved.firstLevel = levelFile;
    for (auto [file, name, what] : {std::tuple{&saved.level, &levelFile, "level"},
                                    std::tuple{&saved.language, &languageFile, "language"}}) {
        std::string why;
        const std::optional<std::string> bytes = FileBytes::read(*name, &why);
        if (!bytes) {
            if (error)
                *error = std::string("Cannot open the ") + what + " file " + text::inQuotes(*name) + ": " + why + ".";
            return std::nullopt;
        }
        *file = {*name, Sha256::hex(*bytes)};
    }
    saved.position = at;
    saved.carried = carried;
    return saved;
}
