// SPDX-License-Identifier: MIT
#include "checkcommandline.h"

#include "locationrecord.h"

#include <charconv>

namespace {

// A whole number from min up, written in decimal and nothing else.
bool readNumber(const std::string &text, unsigned long long min, unsigned long long max, unsigned long long &value)
{
    const char *end = text.data() + text.size();
    const auto [at, fault] = std::from_chars(text.data(), end, value);
    return fault == std::errc() && at == end && !text.empty() && value >= min && value <= max;
}

} // namespace

CheckCommandLine CheckCommandLine::parse(const std::vector<std::string> &arguments)
{
    CheckCommandLine result;
    const std::string tryHelp = " Try \"quillmoorcheck --help\".";
    auto fail = [&](const std::string &problem) {
        result.error = "quillmoorcheck: " + problem + tryHelp;
        return result;
    };
    // "--name value" or "--name=value"; false when the option is not name.
    std::size_t at = 0;
    auto valueOf = [&](const std::string &name, std::string &value, bool &missing) {
        const std::string &argument = arguments[at];
        if (argument == name) {
            missing = ++at == arguments.size();
            if (!missing)
                value = arguments[at];
            return true;
        }
        if (argument.rfind(name + "=", 0) == 0) {
            value = argument.substr(name.size() + 1);
            return true;
        }
        return false;
    };

    std::vector<std::string> rest;
    for (; at < arguments.size(); ++at) {
        const std::string &argument = arguments[at];
        if (argument == "--") {
            rest.insert(rest.end(), arguments.begin() + std::ptrdiff_t(at) + 1, arguments.end());
            break;
        }
        if (argument.empty() || argument[0] != '-' || argument == "-") {
            rest.push_back(argument);
            continue;
        }
        std::string value;
        bool missing = false;
        unsigned long long number = 0;
        if (argument == "--help") {
            result.help = true;
        } else if (argument == "--version") {
            result.version = true;
        } else if (argument == "--json") {
            result.json = true;
        } else if (valueOf("--language", value, missing)) {
            if (missing)
                return fail("--language needs the name of a language file.");
            result.languageFile = value;
        } else if (valueOf("--language-number", value, missing)) {
            if (missing || !readNumber(value, 1, 30, number))
                return fail("--language-number needs the number of a language, 1 to 30.");
            result.language = int(number);
        } else if (valueOf("--max-states", value, missing)) {
            if (missing || !readNumber(value, 1, 4'000'000'000ull, number))
                return fail("--max-states needs a number of states, 1 to 4000000000.");
            result.maxStates = std::size_t(number);
        } else {
            return fail("unknown option \"" + argument + "\".");
        }
    }
    if (rest.size() > 1)
        return fail("name one level file to check, not " + std::to_string(rest.size()) + ".");
    if (!rest.empty())
        result.level = rest.front();
    if (result.level.empty() && result.languageFile.empty() && !result.help && !result.version)
        return fail("name a level file to check, or a language file with --language.");
    return result;
}

const char *CheckCommandLine::usage()
{
    // The tag that chains levels, as level files write it.
    static const std::string LoadLevel = text::toUtf8(LocationRecord::LoadLevelTag);
    static const std::string help =
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
        "With --language and no level, checks the language file alone.\n"
        "\n"
        "Options:\n"
        "  --language FILE        the player's language file (default: the Language.txt\n"
        "                         the player uses)\n"
        "  --language-number N    play in language N of the file (default: 1)\n"
        "  --json                 write one JSON object instead of text\n"
        "  --max-states N         stop the search after N play states (default:\n"
        "                         10000000); the verdict is then unknown\n"
        "  --help                 show this help and exit\n"
        "  --version              show the version and exit\n"
        "  --                     end of the options: what follows names the level\n"
        "\n"
        "Exit status: 0 when the level can be won and has no errors; 1 when it has\n"
        "errors or cannot be won (or the search reached its limit), or when a\n"
        "language file checked alone has errors; 2 when the check cannot be made.\n";
    return help.c_str();
}
