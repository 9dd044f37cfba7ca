// SPDX-License-Identifier: MIT
#include "levelcheck.h"

#include "deadendsearch.h"
#include "filebytes.h"
#include "gameerror.h"
#include "languagelint.h"
#include "levellint.h"
#include "unreachedcontent.h"

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

using Reads = std::vector<std::pair<LevelReader::Result, LevelLint::NeverPlayed>>;

void addDeadEnds(CheckReport &report, const std::vector<DeadEndSearch::Way> &ways,
                 const std::vector<std::string> &levels, const Reads &reads)
{
    for (const DeadEndSearch::Way &way : ways) {
        CheckReport::DeadEnd deadEnd;
        deadEnd.location = way.location;
        deadEnd.file = way.file;
        const auto level = std::find(levels.begin(), levels.end(), way.file);
        deadEnd.chained = level != levels.begin();
        if (level != levels.end())
            deadEnd.line = reads[std::size_t(level - levels.begin())].first.lines.headers[way.location.index()];
        for (const Text &command : way.walkthrough)
            deadEnd.walkthrough.push_back(text::toUtf8(command));
        deadEnd.command = deadEnd.walkthrough.back();
        deadEnd.states = way.states;
        deadEnd.stopped = way.stopped;
        report.deadEnds.push_back(std::move(deadEnd));
    }
}

// What no play reaches in each level file that gives a level, as warnings
// after the lint's and as lists.
void addUnreached(CheckReport &report, const std::vector<WinSearch::Met> &met, const std::vector<std::string> &levels,
                  const Reads &reads)
{
    std::vector<CheckReport::Unreached> lists;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto &[read, said] = reads[i];
        if (!read.noLevel.empty())
            continue;
        const auto played = std::find_if(met.begin(), met.end(),
                                         [&](const WinSearch::Met &level) { return level.path == levels[i]; });
        const UnreachedContent content(read, played != met.end() ? &*played : nullptr, said);
        CheckReport::Unreached list = content.list();
        list.file = levels[i];
        const bool any = !list.locations.empty() || !list.items.empty() || !list.rules.empty();
        if (i == 0 || any)
            lists.push_back(std::move(list));
        for (Problem problem : content.problems()) {
            if (i > 0) {
                problem.text = "In " + levels[i] + ": " + problem.text;
                problem.file = levels[i];
            }
            report.problems.push_back(std::move(problem));
        }
    }
    report.unreached = std::move(lists);
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
    // Each level file read and what its lint said no play reaches.
    std::vector<std::pair<LevelReader::Result, LevelLint::NeverPlayed>> reads;
    bool anyEnd = false;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        reads.emplace_back(levels[i] == path ? LevelReader::read(bytes, path) : LevelReader::readFile(levels[i]),
                           LevelLint::NeverPlayed{});
        const LevelReader::Result &read = reads.back().first;
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
        reads.back().second = lint.neverPlayed();
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
        DeadEndSearch search(std::move(setup), options.language, options.maxStates, options.cancel);
        const DeadEndSearch::Outcome outcome = search.run();
        const WinSearch::Outcome &win = outcome.win;
        report.searched = true;
        report.states = win.states;
        report.explored = win.explored;
        if (win.verdict != WinSearch::Verdict::Unknown)
            report.winnable = win.verdict == WinSearch::Verdict::Winnable;
        for (const Text &command : win.walkthrough)
            report.walkthrough.push_back(text::toUtf8(command));
        if (!win.stopped.empty() && !report.hasErrors()) {
            report.problems.insert(report.problems.begin(),
                                   {Problem::Severity::Error, std::nullopt, 0,
                                    "The player stops as soon as the game starts: " + win.stopped});
        }
        report.canGetStuck = outcome.canGetStuck;
        addDeadEnds(report, outcome.ways, levels, reads);
        if (win.complete && win.stopped.empty())
            addUnreached(report, outcome.met, levels, reads);
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
