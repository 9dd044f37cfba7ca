// SPDX-License-Identifier: MIT
#include "languagelint.h"

#include "commandtable.h"
#include "gameerror.h"

#include <cctype>

namespace {

using Severity = Problem::Severity;

using List = CommandTable::List;
using text::inQuotes;

bool isDirection(const List &list)
{
    return int(list.command) < int(Directions.size());
}

class Checking
{
public:
    Checking(const LanguageTable &table, int language)
        : table(table)
        , language(language)
        , name(text::toUtf8(table.name(language)))
    {
    }

    std::vector<Problem> run()
    {
        for (int message = 1; message <= LanguageTable::MessageCount; ++message) {
            if (table.message(language, message).starts_with(U"[")) {
                warn(Message(message),
                     "message " + std::to_string(message) + " of " + name
                         + " begins with \"[\" and is read as a message, not as a new language: the block "
                           "before it may have fewer than 27 messages.");
            }
        }
        for (Message message : SplitMessages) {
            try {
                table.fields(language, message);
            } catch (const GameError &) {
                error(message, "message " + std::to_string(int(message)) + " of " + name
                                   + " has more than 30 fields: the player stops with an error when it uses it.");
            }
        }
        for (const List &list : CommandTable::Lists)
            checkList(list);
        for (Direction d : Directions) {
            const List &list = CommandTable::list(CommandTable::move(d));
            const LanguageTable::Fields *fields = fieldsOf(list.words);
            if (fields && (*fields)[1].empty()) {
                warn(list.words, "the " + std::string(list.role) + " words of " + name
                                     + " have no second field, the direction's name: its exits are announced as "
                                     + inQuotes(table.message(language, Message::ExitHere) + U" .") + ".");
            }
        }
        return std::move(found);
    }

private:
    // Nothing for a message with too many fields, which is an error of its own.
    const LanguageTable::Fields *fieldsOf(Message message)
    {
        try {
            return &table.fields(language, message);
        } catch (const GameError &) {
            return nullptr;
        }
    }

    void checkList(const List &list)
    {
        const LanguageTable::Fields *fields = fieldsOf(list.words);
        if (!fields)
            return;
        bool usable = false;
        for (std::size_t i = 0; i < fields->size(); ++i) {
            const TextView word = (*fields)[i];
            if (word.empty())
                continue;
            // The second field of a direction list is the name shown for
            // its exits, in whatever case the text wants.
            const bool shownName = isDirection(list) && i == 1;
            if (shownName)
                continue;
            if (text::upper(word) != word) {
                warn(list.words, "the " + std::string(list.role) + " word " + inQuotes(word) + " of " + name
                                     + " is not in capitals, so the player never recognises it.");
                continue;
            }
            usable = true;
            if (list.prefix)
                checkHidden(list, i);
        }
        if (!usable) {
            warn(list.words, "no " + std::string(list.role) + " word of " + name
                                 + " is in capitals, so the player has no " + list.role + " command.");
        }
    }

    // A word matched at the start of a command hides every word tried after
    // it that it is the start of: the later words of its list and the words
    // of the lists tried later.
    void checkHidden(const List &list, std::size_t index)
    {
        const TextView word = (*fieldsOf(list.words))[index];
        bool after = false;
        for (const List &other : CommandTable::Lists) {
            after = after || &other == &list;
            const LanguageTable::Fields *fields = after ? fieldsOf(other.words) : nullptr;
            if (!fields)
                continue;
            for (std::size_t i = &other == &list ? index + 1 : 0; i < fields->size(); ++i) {
                const TextView hidden = (*fields)[i];
                if (hidden.empty() || !hidden.starts_with(word))
                    continue;
                warn(list.words, "the " + std::string(list.role) + " word " + inQuotes(word) + " of " + name
                                     + " is the start of the " + other.role + " word " + inQuotes(hidden)
                                     + " (message " + std::to_string(int(other.words))
                                     + "), which is tried after it: typing " + inQuotes(hidden) + " gives a "
                                     + list.role + " command.");
            }
        }
    }

    void warn(Message message, const std::string &text) { add(Severity::Warning, message, text); }
    void error(Message message, const std::string &text) { add(Severity::Error, message, text); }
    void add(Severity severity, Message message, const std::string &text)
    {
        std::string sentence = text;
        sentence[0] = char(std::toupper(static_cast<unsigned char>(sentence[0])));
        found.push_back({severity, std::nullopt, table.line(language, message), sentence});
    }

    const LanguageTable &table;
    int language;
    std::string name;
    std::vector<Problem> found;
};

} // namespace

std::vector<Problem> LanguageLint::check(std::string_view bytes, const std::string &fileName)
{
    LanguageTable table;
    try {
        table = LanguageTable::read(bytes, fileName);
    } catch (const GameError &fault) {
        return {{Severity::Error, std::nullopt, fault.line, fault.description}};
    }
    std::vector<Problem> problems;
    for (int language = 1; language <= table.count(); ++language) {
        std::vector<Problem> more = Checking(table, language).run();
        problems.insert(problems.end(), more.begin(), more.end());
    }
    return problems;
}
