// SPDX-License-Identifier: MIT
#include "studiocommandline.h"

StudioCommandLine StudioCommandLine::parse(const std::vector<std::string> &arguments)
{
    StudioCommandLine result;
    const std::string tryHelp = " Try \"studio --help\".";
    std::vector<std::string> levels;
    bool options = true;
    for (const std::string &argument : arguments) {
        if (!options || argument.empty() || argument[0] != '-' || argument == "-") {
            levels.push_back(argument);
        } else if (argument == "--") {
            options = false;
        } else if (argument == "--help") {
            result.help = true;
        } else if (argument == "--version") {
            result.version = true;
        } else {
            result.error = "studio: unknown option \"" + argument + "\"." + tryHelp;
            return result;
        }
    }
    // A file manager hands over one file; the studio edits one level a run.
    if (levels.size() > 1) {
        result.error = "studio: name one level file only." + tryHelp;
        return result;
    }
    if (!levels.empty())
        result.level = levels.front();
    return result;
}

const char *StudioCommandLine::usage()
{
    return "Usage: studio [OPTIONS] [--] [LEVEL]\n"
           "Edits the level file LEVEL (a .qw file): an existing file is opened, a\n"
           "name that does not exist yet starts a new level, written on the first\n"
           "save. Without LEVEL the start dialog asks for one.\n"
           "\n"
           "Options:\n"
           "  --help     show this help and exit\n"
           "  --version  show the version and exit\n"
           "  --         end of the options: what follows names the level\n";
}
