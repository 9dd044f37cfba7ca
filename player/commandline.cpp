// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "levellookup.h"
#include "optionparser.h"

namespace {

const char Usage[] = "Usage: quillmoorplayer [OPTIONS] [--] [LEVEL]\n"
                     "Plays the level file LEVEL (a .qw file); without LEVEL, the bundled\n"
                     "adventure QUILLMOOR.qw.\n";
const char Epilogue[] = "In the terminal each line of standard input is one command; when the\n"
                        "input is not a terminal, every line read is echoed after the prompt.\n";

// The options come first: whatever follows them names the level, spaces and
// all, as the studio's test launch hands it over.
OptionParser parserFor(CommandLine &into)
{
    OptionParser parser("quillmoorplayer", OptionParser::Style::OptionsFirst);
    parser.flag("--tty", "play in the terminal instead of a window; taken without asking when there is no display",
                into.tty);
    parser.option({"--language"}, "FILE", "read the languages from FILE instead of Language.txt",
                  "the name of a language file", into.languageFile);
    parser.option({"--walkthrough"}, "FILE",
                  "type the lines of FILE first, one command a line, as if the user typed them; the window types "
                  "one about every half second and takes the keys again after the last, the terminal reads them "
                  "before its input",
                  "the name of a file of commands", into.walkthroughFile);
    return parser;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string> &arguments)
{
    CommandLine result;
    OptionParser parser = parserFor(result);
    if (!parser.parse(arguments)) {
        result.error = parser.error();
        return result;
    }
    result.help = parser.helpAsked();
    result.version = parser.versionAsked();
    const std::vector<std::string> &parts = parser.operands();
    for (std::size_t i = 0; i < parts.size(); ++i)
        result.level += (i > 0 ? " " : "") + parts[i];
    result.level = LevelLookup::unquoted(result.level);
    return result;
}

std::string CommandLine::usage()
{
    CommandLine unused;
    return parserFor(unused).helpText(Usage, Epilogue);
}
