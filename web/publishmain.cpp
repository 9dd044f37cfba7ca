// SPDX-License-Identifier: MIT
// quillmoorpublish: writes a level, the levels it leads to and a language
// file into one web page that plays the game in a browser.
#include "buildinfo.h"
#include "locationrecord.h"
#include "publisher.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The help; the tag that chains levels as level files write it.
const std::string LoadLevel = text::toUtf8(LocationRecord::LoadLevelTag);
const std::string Usage =
    "Usage: quillmoorpublish [OPTIONS] [--] LEVEL\n"
    "Writes the level file LEVEL (a .qw file), every level its " + LoadLevel + "\n"
    "locations lead to and a language file into one web page. The page plays\n"
    "the game as the player's window does, in any browser, opened from disk:\n"
    "no server, no install, no network.\n"
    "\n"
    "Options:\n"
    "  --language FILE    the languages the page offers (default: the\n"
    "                     player's Language.txt)\n"
    "  -o, --output FILE  the page to write (default: LEVEL with .html in\n"
    "                     place of its extension)\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n"
    "  --                 end of the options: what follows names the level\n"
    "\n"
    "Levels that " + LoadLevel + " names are looked for as the player looks for them:\n"
    "from the current folder, else beside the level naming them. Nothing is\n"
    "written when a level or the language file cannot be read or is none, or\n"
    "when the player would stop as the game starts. The page holds no folder\n"
    "of this machine beyond the names the player finds the levels by.\n";

int fail(const std::string &message)
{
    std::fprintf(stderr, "quillmoorpublish: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string tryHelp = " Try \"quillmoorpublish --help\".";
    Publisher::Job job;
    std::vector<std::string> levels;
    bool options = true;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (!options || argument.empty() || argument[0] != '-' || argument == "-") {
            levels.push_back(argument);
        } else if (argument == "--") {
            options = false;
        } else if (argument == "--help") {
            std::fputs(Usage.c_str(), stdout);
            return 0;
        } else if (argument == "--version") {
            std::fputs("quillmoorpublish " QUILLMOOR_VERSION "\n", stdout);
            return 0;
        } else if (argument == "--language" || argument == "-o" || argument == "--output") {
            if (++i == arguments.size() || arguments[i].empty())
                return fail(argument + " needs a file name." + tryHelp);
            (argument == "--language" ? job.languageFile : job.output) = arguments[i];
        } else if (argument.rfind("--language=", 0) == 0 || argument.rfind("--output=", 0) == 0) {
            const std::string option = argument.substr(0, argument.find('='));
            const std::string file = argument.substr(argument.find('=') + 1);
            if (file.empty())
                return fail(option + " needs a file name." + tryHelp);
            (option == "--language" ? job.languageFile : job.output) = file;
        } else {
            return fail("unknown option \"" + argument + "\"." + tryHelp);
        }
    }
    if (levels.size() != 1)
        return fail(std::string(levels.empty() ? "no level file named." : "name one level file only.") + tryHelp);
    job.level = levels.front();

    const Publisher::Result result = Publisher::publish(job);
    if (!result.ok())
        return fail(result.error);
    for (const std::string &warning : result.warnings) {
        std::fprintf(stderr, "quillmoorpublish: warning: %s The page shows this as it loads the level, then plays it "
                             "all.\n", warning.c_str());
    }
    std::string levelList;
    for (std::size_t i = 0; i < result.levels.size(); ++i)
        levelList += (i ? ", " : "") + result.levels[i];
    std::printf("Wrote %s: %s with %s.\n", result.output.c_str(), levelList.c_str(), result.languageFile.c_str());
    return 0;
}
