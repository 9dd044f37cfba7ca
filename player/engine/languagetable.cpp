// SPDX-License-Identifier: MIT
#include "languagetable.h"

#include "filebytes.h"
#include "gameerror.h"
#include "textcodec.h"

#include <algorithm>

namespace {

GameError fault(const std::string &file, int line, const std::string &problem)
{
    return {"Language file \"" + file + "\", line " + std::to_string(line) + ": " + problem, line};
}

} // namespace

bool LanguageTable::splitfields(TextView text, Fields &fields)
{
    fields.fill(Text());
    std::size_t current = 0;
    for (const char32_t c : text) {
        if (c == U'|') {
            ++current;
            continue;
        }
        if (current >= std::size_t(FieldCount))
            return false;
        fields[current] += c;
    }
    return true;
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
        Text name(header.substr(1));
        name.erase(std::remove(name.begin(), name.end(), U']'), name.end());
        if (table.count() == MaxLanguages) {
            throw fault(fileName, headerLine,
                        "the language \"" + text::toUtf8(name) + "\" is one too many; a language file holds at most "
                            + std::to_string(MaxLanguages) + " languages.");
        }
        Language &language = table.languages.emplace_back();
        language.entries[0] = name;
        language.lines[0] = headerLine;
        for (int message = 1; message <= MessageCount; ++message) {
            if (next == text.size()) {
                throw fault(fileName, int(next),
                            "the language \"" + text::toUtf8(name) + "\" ends after " + std::to_string(message - 1)
                                + " of its " + std::to_string(MessageCount) + " messages.");
            }
            language.entries[message] = Text(text[next++]);
            language.lines[message] = int(next);
            language.overflows[message] = !splitfields(language.entries[message], language.fields[message]);
            for (const Text &field : language.fields[message]) {
                if (!field.empty())
                    language.words[message].push_back(field);
            }
        }
    }
    if (table.languages.empty()) {
        throw GameError{"Language file \"" + fileName
                        + "\" holds no language: each language begins with a line such as \"[English]\", followed by "
                          "its "
                        + std::to_string(MessageCount) + " messages."};
    }
    return table;
}

LanguageTable LanguageTable::readFile(const std::string &path)
{
    std::string why;
    const std::optional<std::string> bytes = FileBytes::read(path, &why);
    if (!bytes)
        throw GameError{"Cannot open the language file \"" + path + "\": " + why + "."};
    return read(*bytes, path);
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
    for (int language = 1; language <= count(); ++language)
        text += U'[' + text::number(language) + U"] " + name(language) + U"\r\n";
    return text;
}
