// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "levellookup.h"
#include "optionparser.h"

namespace {

const char Usage[] = "Usage: quillmoorplayer [OPTIONS] [--] [LEVEL]\n"
                     "Plays the level file LEVEL (a .qw file); without LEVEL, the bundled\n"
                     "adventure QUILLMOOR.qw, or with --restore, the saved game.\n";
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
    parser.option({"--restore"}, "FILE",
                  "go on with the game saved in FILE (a .qwsave file), in its language, from where it was saved; its "
                  "level is found as named, from the current folder, else beside FILE, and the level and the "
                  "language file must be the ones it was saved with",
                  "the name of a saved game", into.restoreFile);
    parser.option({"--save"}, "FILE",
                  "save the game as it stands when the input ends (the window: when it closes) or the player quits "
                  "or ends the game, to go on with later",
                  "the name of a saved game", into.saveFile);
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
    if (!result.restoreFile.empty() && !result.level.empty())
        result.error = parser.failure("--restore goes on in the level its saved game names; name no LEVEL with it.");
    return result;
}

std::string CommandLine::usage()
{
    CommandLine unused;
    return parserFor(unused).helpText(Usage, Epilogue);
}
