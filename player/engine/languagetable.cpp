// SPDX-License-Identifier: MIT
#include "languagetable.h"

#include "filebytes.h"
#include "gameerror.h"
#include "levelreader.h"
#include "textcodec.h"

#include <algorithm>

namespace {

GameError fault(const std::string &file, int line, const std::string &problem)
{
    return {"Language file \"" + file + "\", line " + std::to_string(line) + ": " + problem, line};
}

GameError notALanguageFile(const std::string &file, int line, const std::string &why)
{
    return {"\"" + file + "\" is not a language file (no language block): " + why, line};
}

// A line of a language must be text: a control character (other than a tab,
// or a carriage return left of a line end) says the file is some other
// file's bytes, whose words no player could type.
void checkText(TextView line, int lineNo, const std::string &file)
{
    for (const char32_t c : line) {
        if (c < U' ' && c != U'\t' && c != U'\r') {
            static constexpr char Hex[] = "0123456789ABCDEF";
            const std::string byte{'0', 'x', Hex[c >> 4], Hex[c & 15]};
            throw notALanguageFile(file, lineNo,
                                   "it is not text: line " + std::to_string(lineNo) + " holds the control character "
                                       + byte + ".");
        }
    }
}

} // namespace

LanguageTable::LanguageTable(const LanguageTable &other)
    : file(other.file)
{
    languages.reserve(other.languages.size());
    for (const std::unique_ptr<Language> &language : other.languages)
        languages.push_back(std::make_unique<Language>(*language));
}

LanguageTable &LanguageTable::operator=(const LanguageTable &other)
{
    if (this != &other)
        *this = LanguageTable(other);
    return *this;
}

bool LanguageTable::splitfields(TextView text, Fields &fields)
{
    // Only fields set before need clearing: those of a message just read are
    // all empty.
    for (TextView &field : fields) {
        if (!field.empty())
            field = {};
    }
    std::size_t current = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find(U'|', start);
        const TextView field = text.substr(start, bar == TextView::npos ? TextView::npos : bar - start);
        if (!field.empty()) {
            if (current >= std::size_t(FieldCount))
                return false;
            fields[current] = field;
        }
        if (bar == TextView::npos)
            return true;
        ++current;
        start = bar + 1;
    }
}

LanguageTable LanguageTable::read(std::string_view bytes, const std::string &fileName)
{
    LanguageTable table;
    table.file = fileName;
    const Text decoded = TextCodec::decode(bytes);
    const std::vector<TextView> text = TextCodec::lines(decoded);
    std::size_t next = 0;
    while (next < text.size()) {
        const TextView header = text[next++];
        if (header.empty() || header[0] != U'[')
            continue;
        const int headerLine = int(next);
        checkText(header, headerLine, fileName);
        Text name(header.substr(1));
        name.erase(std::remove(name.begin(), name.end(), U']'), name.end());
        // A level's own lines begin with "[" too: read as languages, a level
        // would offer "MAP" and words cut from its narratives. The name is
        // what tells, as the header written for it would read.
        if (!LevelReader::markOf(text::toUtf8(U'[' + name + U']')).empty()) {
            throw notALanguageFile(fileName, headerLine,
                                   "it is a Quillmoor level (\"" + text::toUtf8(header) + "\" on line "
                                       + std::to_string(headerLine) + ").");
        }
        if (table.count() == MaxLanguages) {
            throw fault(fileName, headerLine,
                        "the language \"" + text::toUtf8(name) + "\" is one too many; a language file holds at most "
                            + std::to_string(MaxLanguages) + " languages.");
        }
        Language &language = *table.languages.emplace_back(std::make_unique<Language>());
        language.entries[0] = name;
        language.lines[0] = headerLine;
        for (int message = 1; message <= MessageCount; ++message) {
            if (next == text.size()) {
                throw fault(fileName, int(next),
                            "the language \"" + text::toUtf8(name) + "\" ends after " + std::to_string(message - 1)
                                + " of its " + std::to_string(MessageCount) + " messages.");
            }
            checkText(text[next], int(next) + 1, fileName);
            language.entries[message] = Text(text[next++]);
            language.lines[message] = int(next);
            Fields &fields = language.fields[message];
            language.overflows[message] = !splitfields(language.entries[message], fields);
            const auto last = std::find_if(fields.rbegin(), fields.rend(), [](TextView field) { return !field.empty(); });
            language.used[message] = std::uint8_t(fields.rend() - last);
        }
    }
    if (table.languages.empty()) {
        throw notALanguageFile(fileName, 0,
                               "each language begins with a line such as \"[English]\", followed by its "
                                   + std::to_string(MessageCount) + " messages.");
    }
    return table;
}

LanguageTable LanguageTable::readFile(const std::string &path, std::string *bytes)
{
    std::string why;
    std::optional<std::string> read = FileBytes::read(path, &why);
    if (!read)
        throw GameError{"Cannot open the language file \"" + path + "\": " + why + "."};
    LanguageTable table = LanguageTable::read(*read, path);
    if (bytes)
        *bytes = std::move(*read);
    return table;
}

void LanguageTable::overflow(const Language &row, int message) const
{
    throw fault(file, row.lines[message],
                "message " + std::to_string(message) + " of \"" + text::toUtf8(row.entries[0]) + "\" has more than "
                    + std::to_string(FieldCount) + " fields.");
}

Text LanguageTable::menu() const
{
    Text text;
    std::size_t size = 0;
    for (int language = 1; language <= count(); ++language)
        size += name(language).size() + 8;
    text.reserve(size);
    for (int language = 1; language <= count(); ++language) {
        text += U'[';
        text += text::number(language);
        text += U"] ";
        text += name(language);
        text += U"\r\n";
    }
    return text;
}
