// SPDX-License-Identifier: MIT
// quillmoorpublish: writes a level, the levels it leads to and a language
// file into one web page that plays the game in a browser.
#include "buildinfo.h"
#include "locationrecord.h"
#include "optionparser.h"
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
    "no server, no install, no network.\n";
const std::string Epilogue =
    "Levels that " + LoadLevel + " names are looked for as the player looks for them:\n"
    "from the current folder, else beside the level naming them. Nothing is\n"
    "written when a level or the language file cannot be read or is none, or\n"
    "when the player would stop as the game starts. The page holds no folder\n"
    "of this machine beyond the names the player finds the levels by.\n";

// A file named, not an empty name.
OptionParser::Take fileName(std::string &into)
{
    return [&into](const std::string &file) {
        into = file;
        return !file.empty();
    };
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "quillmoorpublish: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    Publisher::Job job;
    OptionParser parser("quillmoorpublish", OptionParser::Style::Mixed);
    parser.option({"--language"}, "FILE", "the languages the page offers (default: the player's Language.txt)",
                  "a file name", fileName(job.languageFile));
    parser.option({"-o", "--output"}, "FILE", "the page to write (default: LEVEL with .html in place of its extension)",
                  "a file name", fileName(job.output));
    parser.answerHelpAtOnce();
    if (!parser.parse({argv + 1, argv + argc})) {
        std::fprintf(stderr, "%s\n", parser.error().c_str());
        return 1;
    }
    if (parser.helpAsked()) {
        std::fputs(parser.helpText(Usage, Epilogue).c_str(), stdout);
        return 0;
    }
    if (parser.versionAsked()) {
        std::fputs("quillmoorpublish " QUILLMOOR_VERSION "\n", stdout);
        return 0;
    }
    const std::vector<std::string> &levels = parser.operands();
    if (levels.size() != 1) {
        std::fprintf(stderr, "%s\n",
                     parser.failure(levels.empty() ? "no level file named." : "name one level file only.").c_str());
        return 1;
    }
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
