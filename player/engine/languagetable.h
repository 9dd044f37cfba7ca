// SPDX-License-Identifier: MIT
#pragma once

#include "message.h"
#include "text.h"

#include <array>
#include <cstdint>
#include <memory>
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
    // A message's fields, viewing its text: the table keeps each message
    // once, and a language holds 27 times 30 fields.
    using Fields = std::array<TextView, FieldCount>;

    // What words() gives: a message's fields that are not empty.
    class Words
    {
    public:
        class Iterator
        {
        public:
            Iterator(const TextView *at, const TextView *end)
                : at(skipEmpty(at, end))
                , end(end)
            {
            }
            TextView operator*() const { return *at; }
            Iterator &operator++()
            {
                at = skipEmpty(at + 1, end);
                return *this;
            }
            bool operator==(const Iterator &other) const { return at == other.at; }

        private:
            static const TextView *skipEmpty(const TextView *at, const TextView *end)
            {
                while (at != end && at->empty())
                    ++at;
                return at;
            }
            const TextView *at;
            const TextView *end;
        };

        // count: the fields up to the last that is not empty.
        Words(const Fields &fields, std::size_t count)
            : first(fields.data())
            , last(fields.data() + count)
        {
        }
        Iterator begin() const { return {first, last}; }
        Iterator end() const { return {last, last}; }

    private:
        const TextView *first;
        const TextView *last;
    };

    // Both throw GameError for a file that cannot be used; fileName only
    // names the file in error messages. A file with no language block, a
    // level (a block's header is a level's line) or a file whose blocks are
    // not text is no language file at all.
    static LanguageTable read(std::string_view bytes, const std::string &fileName);
    // bytes, when given, receives the file's bytes as read.
    static LanguageTable readFile(const std::string &path, std::string *bytes = nullptr);

    LanguageTable() = default;
    LanguageTable(const LanguageTable &other);
    LanguageTable &operator=(const LanguageTable &other);
    LanguageTable(LanguageTable &&) = default;
    LanguageTable &operator=(LanguageTable &&) = default;

    // Cuts text at every "|" into fields, which view it; false when text
    // goes on past the last field (what fits is kept).
    static bool splitfields(TextView text, Fields &fields);

    int count() const { return int(languages.size()); }
    // language is 1 to count(); a message by its name, or by its number 1 to
    // 27 for what goes through every line of a block.
    const Text &name(int language) const { return languages[language - 1]->entries[0]; }
    const Text &message(int language, int message) const { return languages[language - 1]->entries[message]; }
    const Text &message(int language, Message m) const { return message(language, int(m)); }
    int line(int language, int message) const { return languages[language - 1]->lines[message]; }
    int line(int language, Message m) const { return line(language, int(m)); }
    // The fields of a message; throws GameError for a message with more
    // fields than there are, naming its line.
    const Fields &fields(int language, int message) const
    {
        const Language &row = *languages[language - 1];
        if (row.overflows[message])
            overflow(row, message);
        return row.fields[message];
    }
    const Fields &fields(int language, Message m) const { return fields(language, int(m)); }
    // The fields of a message that are not empty, in order: the words of a
    // word list as the commands try them. No check for too many fields.
    Words words(int language, Message m) const
    {
        const Language &row = *languages[language - 1];
        return Words(row.fields[int(m)], row.used[int(m)]);
    }
    const std::string &fileName() const { return file; }

    // "[1] English", CR LF, "[2] Deutsch", CR LF, ...
    Text menu() const;

private:
    struct Language
    {
        // Made member by member: a language is large, and a constructor of
        // the compiler's own would clear all of it before that.
        Language() {}
        // A copy's fields view its own messages.
        Language(const Language &other)
            : entries(other.entries)
            , lines(other.lines)
            , overflows(other.overflows)
            , used(other.used)
        {
            splitAll();
        }
        Language &operator=(const Language &other)
        {
            entries = other.entries;
            lines = other.lines;
            overflows = other.overflows;
            used = other.used;
            splitAll();
            return *this;
        }
        void splitAll()
        {
            for (int message = 1; message <= MessageCount; ++message)
                splitfields(entries[message], fields[message]);
        }

        // Column 0 the name, columns 1 to 27 the messages.
        std::array<Text, MessageCount + 1> entries;
        std::array<int, MessageCount + 1> lines{};
        std::array<Fields, MessageCount + 1> fields;
        std::array<bool, MessageCount + 1> overflows{};
        // The fields of each message up to the last that is not empty, where
        // its words end.
        std::array<std::uint8_t, MessageCount + 1> used{};
    };

    [[noreturn]] void overflow(const Language &row, int message) const;

    // A language is large (every message's fields, which view its own
    // messages): each is made once and never moves. A table with none, as
    // every game's is before it reads its file, costs nothing.
    std::vector<std::unique_ptr<Language>> languages;
    std::string file;
};
