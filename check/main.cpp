// SPDX-License-Identifier: MIT
// quillmoorcheck: finds what is wrong with a level and proves whether it can
// be won, with its shortest walkthrough.
#include "buildinfo.h"
#include "checkcommandline.h"
#include "datafolder.h"
#include "jsonreport.h"
#include "levelcheck.h"
#include "textreport.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const CheckCommandLine options = CheckCommandLine::parse({argv + 1, argv + argc});
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CheckCommandLine::usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("quillmoorcheck " QUILLMOOR_VERSION "\n", stdout);
        return 0;
    }

    CheckReport report;
    if (options.level.empty()) {
        report = LevelCheck::checkLanguage(options.languageFile);
    } else {
        LevelCheck::Options check;
        check.languageFile = options.languageFile.empty() ? DataFolder::file("Language.txt") : options.languageFile;
        check.language = options.language;
        check.maxStates = options.maxStates;
        report = LevelCheck::checkFile(options.level, check);
    }
    if (!report.failure.empty()) {
        std::fprintf(stderr, "quillmoorcheck: %s\n", report.failure.c_str());
        return report.exitStatus();
    }
    const std::string out = options.json ? JsonReport::write(report) : TextReport::write(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return report.exitStatus();
}
