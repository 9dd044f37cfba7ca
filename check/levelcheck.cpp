// SPDX-License-Identifier: MIT
#include "levelcheck.h"

#include "filebytes.h"
#include "gameerror.h"
#include "languagelint.h"
#include "levellint.h"
#include "winsearch.h"

#include <algorithm>
#include <set>

namespace {

// Errors first, then warnings, each in the order of the file.
void sortProblems(std::vector<Problem> &problems)
{
    std::stable_sort(problems.begin(), problems.end(), [](const Problem &a, const Problem &b) {
        if (a.isError() != b.isError())
            return a.isError();
        return a.line < b.line;
    });
}

bool hasEnd(const Level &level)
{
    return std::any_of(level.records.begin(), level.records.end(),
                       [](const LocationRecord &record) { return record.isEnd(); });
}

} // namespace

CheckReport LevelCheck::checkFile(const std::string &path, const Options &options)
{
    std::string why;
    const std::optional<std::string> bytes = FileBytes::read(path, &why);
    if (!bytes) {
        CheckReport report;
        report.failure = "Cannot open the level file \"" + path + "\": " + why + ".";
        return report;
    }
    return checkBytes(*bytes, path, options);
}

CheckReport LevelCheck::checkBytes(const std::string &bytes, const std::string &path, const Options &options)
{
    CheckReport report;
    std::optional<CommandTable> commands;
    try {
        const LanguageTable table = LanguageTable::readFile(options.languageFile);
        if (options.language < 1 || options.language > table.count()) {
            report.failure = "The language file \"" + options.languageFile + "\" holds "
                + std::to_string(table.count()) + (table.count() == 1 ? " language" : " languages")
                + ", so it has no language " + std::to_string(options.language) + ".";
            return report;
        }
        commands.emplace(table, options.language);
    } catch (const GameError &fault) {
        report.failure = fault.description;
        return report;
    }

    // The level and every level it chains to, each once, in the order met.
    std::vector<std::string> levels{path};
    std::set<std::string> met{path};
    bool anyEnd = false;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const LevelReader::Result read =
            levels[i] == path ? LevelReader::read(bytes, path) : LevelReader::readFile(levels[i]);
        // A file that gives no level has that one problem: the rest would
        // only list what a level it is not lacks.
        if (!read.noLevel.empty()) {
            report.problems.push_back({Problem::Severity::Error, std::nullopt, 0,
                                       i > 0 ? "In " + levels[i] + ": " + read.noLevel : read.noLevel,
                                       i > 0 ? levels[i] : std::string()});
            if (i == 0)
                return report;
            continue;
        }
        const LevelLint lint(read, levels[i], i > 0, *commands);
        std::vector<Problem> problems = lint.problems();
        sortProblems(problems);
        for (Problem &problem : problems) {
            if (i > 0) {
                problem.text = "In " + levels[i] + ": " + problem.text;
                problem.file = levels[i];
            }
            report.problems.push_back(std::move(problem));
        }
        anyEnd = anyEnd || hasEnd(read.level);
        for (const std::string &next : lint.chainedLevels()) {
            if (met.insert(next).second)
                levels.push_back(next);
        }
    }
    if (!anyEnd) {
        report.problems.push_back({Problem::Severity::Warning, std::nullopt, 0,
                                   "No location ends the game (none has an " + text::toUtf8(LocationRecord::EndTag)
                                       + " line), so the game cannot be won."});
    }

    Game::Setup setup;
    setup.commandLine = path;
    setup.languageFile = options.languageFile;
    setup.keepLevels = true;
    setup.heldLevels[path] = bytes;
    try {
        WinSearch search(std::move(setup), options.language, options.maxStates, options.cancel);
        const WinSearch::Outcome outcome = search.run();
        report.searched = true;
        report.states = outcome.states;
        if (outcome.verdict != WinSearch::Verdict::Unknown)
            report.winnable = outcome.verdict == WinSearch::Verdict::Winnable;
        for (const Text &command : outcome.walkthrough)
            report.walkthrough.push_back(text::toUtf8(command));
        if (!outcome.stopped.empty() && !report.hasErrors()) {
            report.problems.insert(report.problems.begin(),
                                   {Problem::Severity::Error, std::nullopt, 0,
                                    "The player stops as soon as the game starts: " + outcome.stopped});
        }
    } catch (const GameError &fault) {
        report.failure = fault.description;
    }
    return report;
}

CheckReport LevelCheck::checkLanguage(const std::string &languageFile)
{
    CheckReport report;
    std::string why;
    const std::optional<std::string> bytes = FileBytes::read(languageFile, &why);
    if (!bytes) {
        report.failure = "Cannot open the language file \"" + languageFile + "\": " + why + ".";
        return report;
    }
    report.problems = LanguageLint::check(*bytes, languageFile);
    sortProblems(report.problems);
    return report;
}
