// SPDX-License-Identifier: MIT
#pragma once

#include "message.h"
#include "text.h"

#include <array>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The languages of a language file: for each its name and its 27 messages,
// every one the whole line as read. A line "[Name]" opens a language and the
// 27 lines after it are its messages; other lines between languages are
// comments. Each entry keeps its line number so faults can point at it.
class LanguageTable
{
public:
    static constexpr int MaxLanguages = 30;
    static constexpr int MessageCount = 27;
    static constexpr int FieldCount = 30;
    using Fields = std::array<Text, FieldCount>;

    // Both throw GameError for a file that cannot be used; fileName only
    // names the file in error messages. A file with no language block, a
    // level (a block's header is a level's line) or a file whose blocks are
    // not text is no language file at all.
    static LanguageTable read(std::string_view bytes, const std::string &fileName);
    // bytes, when given, receives the file's bytes as read.
    static LanguageTable readFile(const std::string &path, std::string *bytes = nullptr);

    // Cuts text at every "|" into fields; false when text goes on past the
    // last field (what fits is kept).
    static bool splitfields(TextView text, Fields &fields);

    int count() const { return int(languages.size()); }
    // language is 1 to count(); a message by its name, or by its number 1 to
    // 27 for what goes through every line of a block.
    const Text &name(int language) const { return languages[language - 1].entries[0]; }
    const Text &message(int language, int message) const { return languages[language - 1].entries[message]; }
    const Text &message(int language, Message m) const { return message(language, int(m)); }
    int line(int language, int message) const { return languages[language - 1].lines[message]; }
    int line(int language, Message m) const { return line(language, int(m)); }
    // The fields of a message; throws GameError for a message with more
    // fields than there are, naming its line.
    const Fields &fields(int language, int message) const
    {
        const Language &row = languages[language - 1];
        if (row.overflows[message])
            overflow(row, message);
        return row.fields[message];
    }
    const Fields &fields(int language, Message m) const { return fields(language, int(m)); }
    // The fields of a message that are not empty, in order: the words of a
    // word list as the commands try them. No check for too many fields.
    const std::vector<Text> &words(int language, Message m) const { return languages[language - 1].words[int(m)]; }
    const std::string &fileName() const { return file; }

    // "[1] English", CR LF, "[2] Deutsch", CR LF, ...
    Text menu() const;

private:
    struct Language
    {
        // Column 0 the name, columns 1 to 27 the messages.
        std::array<Text, MessageCount + 1> entries;
        std::array<int, MessageCount + 1> lines{};
        std::array<Fields, MessageCount + 1> fields;
        std::array<bool, MessageCount + 1> overflows{};
        std::array<std::vector<Text>, MessageCount + 1> words;
    };

    [[noreturn]] void overflow(const Language &row, int message) const;

    // A language is large (every message's fields): a deque never moves one.
    std::deque<Language> languages;
    std::string file;
};
