// SPDX-License-Identifier: MIT
#include "checkcommandline.h"

#include "locationrecord.h"
#include "optionparser.h"

#include <charconv>

namespace {

// The tag that chains levels, as level files write it.
const std::string LoadLevel = text::toUtf8(LocationRecord::LoadLevelTag);
const std::string Usage =
    "Usage: quillmoorcheck [OPTIONS] [--] LEVEL.qw\n"
    "  or:  quillmoorcheck [OPTIONS] --language FILE\n"
    "Checks a level: lists what is wrong with it and every level its " + LoadLevel + "\n"
    "locations chain to, then plays it through the player's own engine to find\n"
    "the shortest walkthrough, or proves that the game cannot be won. The\n"
    "walkthrough is written in the language's command words, so that\n"
    "  quillmoorcheck LEVEL.qw | sed -n 's/^ *[0-9]*\\. //p' | quillmoorplayer --tty LEVEL.qw\n"
    "wins the game. " + LoadLevel + " files are looked for where the player looks: as\n"
    "named from the current folder, then beside the level naming them.\n"
    "The check also lists the ways to get stuck (commands that take a player who\n"
    "can still win to where no win remains) and what no play reaches.\n"
    "With --language and no level, checks the language file alone.\n";
const char Epilogue[] = "Exit status: 0 when the level can be won and has no errors; 1 when it has\n"
                        "errors or cannot be won (or the search reached its limit), or when a\n"
                        "language file checked alone has errors; 2 when the check cannot be made.\n";

// A whole number from min to max, written in decimal and nothing else.
template<typename Number> OptionParser::Take number(Number &into, unsigned long long min, unsigned long long max)
{
    return [&into, min, max](const std::string &text) {
        unsigned long long value = 0;
        const char *end = text.data() + text.size();
        const auto [at, fault] = std::from_chars(text.data(), end, value);
        if (fault != std::errc() || at != end || text.empty() || value < min || value > max)
            return false;
        into = Number(value);
        return true;
    };
}

OptionParser parserFor(CheckCommandLine &into)
{
    OptionParser parser("quillmoorcheck", OptionParser::Style::Mixed);
    parser.option({"--language"}, "FILE", "the player's language file (default: the Language.txt the player uses)",
                  "the name of a language file", into.languageFile);
    parser.option({"--language-number"}, "N", "play in language N of the file (default: 1)",
                  "the number of a language, 1 to 30", number(into.language, 1, 30));
    parser.flag("--json", "write one JSON object instead of text", into.json);
    parser.option({"--max-states"}, "N",
                  "stop the search after N play states (default: 10000000); the verdict is then unknown",
                  "a number of states, 1 to 4000000000", number(into.maxStates, 1, 4'000'000'000ull));
    return parser;
}

} // namespace

CheckCommandLine CheckCommandLine::parse(const std::vector<std::string> &arguments)
{
    CheckCommandLine result;
    OptionParser parser = parserFor(result);
    auto fail = [&](const std::string &complaint) {
        result.error = parser.failure(complaint);
        return result;
    };
    if (!parser.parse(arguments)) {
        result.error = parser.error();
        return result;
    }
    result.help = parser.helpAsked();
    result.version = parser.versionAsked();
    const std::vector<std::string> &rest = parser.operands();
    if (rest.size() > 1)
        return fail("name one level file to check, not " + std::to_string(rest.size()) + ".");
    if (!rest.empty())
        result.level = rest.front();
    if (result.level.empty() && result.languageFile.empty() && !result.help && !result.version)
        return fail("name a level file to check, or a language file with --language.");
    return result;
}

std::string CheckCommandLine::usage()
{
    CheckCommandLine unused;
    return parserFor(unused).helpText(Usage, Epilogue);
}
