// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "levellookup.h"

CommandLine CommandLine::parse(const std::vector<std::string> &arguments)
{
    CommandLine result;
    const std::string tryHelp = " Try \"quillmoorplayer --help\".";
    std::size_t at = 0;
    for (; at < arguments.size(); ++at) {
        const std::string &argument = arguments[at];
        if (argument == "--") {
            ++at;
            break;
        }
        if (argument.empty() || argument[0] != '-')
            break;
        if (argument == "--tty") {
            result.tty = true;
        } else if (argument == "--help") {
            result.help = true;
        } else if (argument == "--version") {
            result.version = true;
        } else if (argument == "--language") {
            if (++at == arguments.size()) {
                result.error = "quillmoorplayer: --language needs the name of a language file." + tryHelp;
                return result;
            }
            result.languageFile = arguments[at];
        } else if (argument.rfind("--language=", 0) == 0) {
            result.languageFile = argument.substr(argument.find('=') + 1);
        } else if (argument == "--walkthrough") {
            if (++at == arguments.size()) {
                result.error = "quillmoorplayer: --walkthrough needs the name of a file of commands." + tryHelp;
                return result;
            }
            result.walkthroughFile = arguments[at];
        } else if (argument.rfind("--walkthrough=", 0) == 0) {
            result.walkthroughFile = argument.substr(argument.find('=') + 1);
        } else if (argument == "--restore" || argument == "--save") {
            if (++at == arguments.size()) {
                result.error = "quillmoorplayer: " + argument + " needs the name of a saved game." + tryHelp;
                return result;
            }
            (argument == "--save" ? result.saveFile : result.restoreFile) = arguments[at];
        } else if (argument.rfind("--restore=", 0) == 0) {
            result.restoreFile = argument.substr(argument.find('=') + 1);
        } else if (argument.rfind("--save=", 0) == 0) {
            result.saveFile = argument.substr(argument.find('=') + 1);
        } else {
            result.error = "quillmoorplayer: unknown option \"" + argument + "\"." + tryHelp;
            return result;
        }
    }
    for (std::size_t i = at; i < arguments.size(); ++i) {
        if (i > at)
            result.level += ' ';
        result.level += arguments[i];
    }
    result.level = LevelLookup::unquoted(result.level);
    if (!result.restoreFile.empty() && !result.level.empty())
        result.error = "quillmoorplayer: --restore goes on in the level its saved game names; name no LEVEL with it."
            + tryHelp;
    return result;
}

const char *CommandLine::usage()
{
    return "Usage: quillmoorplayer [OPTIONS] [--] [LEVEL]\n"
           "Plays the level file LEVEL (a .qw file); without LEVEL, the bundled\n"
           "adventure QUILLMOOR.qw, or with --restore, the saved game.\n"
           "\n"
           "Options:\n"
           "  --tty              play in the terminal instead of a window; taken\n"
           "                     without asking when there is no display\n"
           "  --language FILE    read the languages from FILE instead of Language.txt\n"
           "  --walkthrough FILE\n"
           "                     type the lines of FILE first, one command a line, as\n"
           "                     if the user typed them; the window types one about\n"
           "                     every half second and takes the keys again after\n"
           "                     the last, the terminal reads them before its input\n"
           "  --restore FILE     go on with the game saved in FILE (a .qwsave file), in\n"
           "                     its language, from where it was saved; its level is\n"
           "                     found as named, from the current folder, else beside\n"
           "                     FILE, and the level and the language file must be the\n"
           "                     ones it was saved with\n"
           "  --save FILE        save the game as it stands when the input ends or the\n"
           "                     player quits or ends the game, to go on with later\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n"
           "  --                 end of the options: what follows names the level\n"
           "\n"
           "In the terminal each line of standard input is one command; when the\n"
           "input is not a terminal, every line read is echoed after the prompt.\n";
}
