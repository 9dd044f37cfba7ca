// SPDX-License-Identifier: MIT
// Fuzz target: the language-file reader. Any bytes give the file's languages
// or an error that names the file and the line; every message is its line
// as read, its fields are its pieces between "|" (or an error for a 31st),
// and the table written out again reads back the same.
#include "fuzzcheck.h"
#include "gameerror.h"
#include "languagetable.h"
#include "textcodec.h"

#include <cstdint>

namespace {

constexpr std::size_t MaxInput = 1 << 20;

bool startsWith(const std::string &text, const std::string &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Calls f with each piece of a message between "|", in place, and its number
// from 0.
template<typename F>
void forEachPiece(TextView message, F f)
{
    for (std::size_t i = 0, start = 0;; ++i) {
        const std::size_t bar = message.find(U'|', start);
        f(i, message.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
        if (bar == TextView::npos)
            return;
        start = bar + 1;
    }
}

void checkMessage(const LanguageTable &table, int language, int message, std::size_t lines)
{
    // Built only for a failure: every message of every input is checked.
    auto where = [&] { return "language " + std::to_string(language) + ", message " + std::to_string(message); };
    const Text &text = table.message(language, message);
    FUZZ_CHECK(text.find(U'\n') == Text::npos, where() + " holds a line end: " + shown(text));
    FUZZ_CHECK(table.line(language, message) == table.line(language, 0) + message,
               where() + " is not the line " + std::to_string(message) + " after its header");
    FUZZ_CHECK(std::size_t(table.line(language, message)) <= lines, where() + " lies past the end");
    // The fields are the pieces between "|", as long as text does not go on
    // past the 30th.
    constexpr std::size_t count = LanguageTable::FieldCount;
    bool fits = true;
    forEachPiece(text, [&fits](std::size_t i, TextView piece) { fits = fits && (i < count || piece.empty()); });
    try {
        const LanguageTable::Fields &fields = table.fields(language, message);
        FUZZ_CHECK(fits, where() + " has more than 30 fields, yet no error: " + shown(text));
        std::size_t pieces = 0;
        forEachPiece(text, [&](std::size_t i, TextView piece) {
            pieces = i + 1;
            if (i < count)
                FUZZ_CHECK(fields[i] == piece, where() + ", field " + std::to_string(i + 1) + " is " + shown(fields[i]));
        });
        for (std::size_t i = pieces; i < count; ++i)
            FUZZ_CHECK(fields[i].empty(), where() + ", field " + std::to_string(i + 1) + " is " + shown(fields[i]));
    } catch (const GameError &error) {
        FUZZ_CHECK(!fits, where() + ": " + error.description);
        const std::string prefix = "Language file \"fuzz.txt\", line " + std::to_string(table.line(language, message));
        FUZZ_CHECK(startsWith(error.description, prefix), "the error names the wrong line: " + error.description);
    }
}

// The table as a file: each language's header and its 27 messages.
std::string written(const LanguageTable &table)
{
    std::string file;
    for (int language = 1; language <= table.count(); ++language) {
        file += '[';
        TextCodec::appendUtf8(file, table.name(language));
        file += "]\r\n";
        for (int message = 1; message <= LanguageTable::MessageCount; ++message) {
            TextCodec::appendUtf8(file, table.message(language, message));
            file += "\r\n";
        }
    }
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    // Line ends are the same bytes in either encoding: the lines of the file
    // are those of its bytes, the UTF-8 mark left out.
    const std::size_t lines = TextCodec::lines(TextCodec::content(bytes, TextCodec::detect(bytes))).size();
    LanguageTable table;
    try {
        table = LanguageTable::read(bytes, "fuzz.txt");
    } catch (const GameError &error) {
        FUZZ_CHECK(startsWith(error.description, "Language file \"fuzz.txt\"")
                       || startsWith(error.description, "\"fuzz.txt\" is not a language file"),
                   "error: " + error.description);
        return 0;
    }
    FUZZ_CHECK(table.count() >= 1 && table.count() <= LanguageTable::MaxLanguages,
               std::to_string(table.count()) + " languages");
    Text menu;
    for (int language = 1; language <= table.count(); ++language) {
        const Text &name = table.name(language);
        FUZZ_CHECK(name.find(U']') == Text::npos && name.find(U'\n') == Text::npos, "name " + shown(name));
        if (language > 1)
            FUZZ_CHECK(table.line(language, 0) > table.line(language - 1, LanguageTable::MessageCount),
                       "language " + std::to_string(language) + " begins inside the one before");
        for (int message = 1; message <= LanguageTable::MessageCount; ++message)
            checkMessage(table, language, message, lines);
        menu += U'[';
        menu += text::number(language);
        menu += U"] ";
        menu += name;
        menu += U"\r\n";
    }
    FUZZ_CHECK(table.menu() == menu, "menu " + shown(table.menu()));

    const std::string again = written(table);
    const LanguageTable reread = LanguageTable::read(again, "again.txt");
    FUZZ_CHECK(reread.count() == table.count(), "the table written out holds " + std::to_string(reread.count()));
    for (int language = 1; language <= table.count(); ++language) {
        FUZZ_CHECK(reread.name(language) == table.name(language), "name read back " + shown(reread.name(language)));
        for (int message = 1; message <= LanguageTable::MessageCount; ++message) {
            FUZZ_CHECK(reread.message(language, message) == table.message(language, message),
                       "message read back " + shown(reread.message(language, message)));
        }
    }
    return 0;
}
