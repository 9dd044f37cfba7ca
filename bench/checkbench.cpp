// SPDX-License-Identifier: MIT
// Times the level checker's search and prints medians of several runs:
//   1. states a second and memory a stored state, on a generated level of 81
//      locations, each open to its neighbours, and 26 items that can be
//      taken, dropped anywhere and combined by 13 rules, with no way to win,
//      searched up to a limit of states;
//   2. the whole check, the ways to get stuck included, of the same level
//      with an end, locked by an item that a rule uses up, and a pit with no
//      way out, up to the same limit;
//   3. the whole check of the bundled adventure, both levels;
//   4. the hint, from states of the bundled adventure that random play
//      reaches: the median and the slowest.
// Usage: checkbench BIN_DIR [RUNS] [STATES]
#include "datafolder.h"
#include "hint.h"
#include "levelcheck.h"
#include "winsearch.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// withEnd: 2C ends the game, but each way in needs item B (thing-B), which
// the rule A+B=A uses up; 3A is a pit no exit leaves.
std::string generatedLevel(bool withEnd)
{
    std::string file = "[MAP]\r\n\r\n[ITEMS]\r\n";
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        file += std::string{letter, ' '} + "thing-" + letter + "\r\n";
    file += "\r\n";
    for (int i = 0; i < 81; ++i) {
        const int row = i / 9 + 1;
        const int col = i % 9 + 1;
        const std::string name = std::to_string(row) + char('A' + col - 1);
        file += "[LOCATION " + name + "]\r\nRoom " + name + ", one of many.~A second line.\r\n";
        const bool pit = withEnd && name == "3A";
        auto path = [&](const char *direction, int toRow, int toCol) {
            const bool locked = withEnd && toRow == 2 && toCol == 3;
            file += std::string("PATH ") + direction + (locked ? " REQUIRES=B Locked." : "") + "\r\n";
        };
        if (row > 1 && !pit)
            path("N", row - 1, col);
        if (row < 9 && !pit)
            path("S", row + 1, col);
        if (col < 9 && !pit)
            path("E", row, col + 1);
        if (col > 1 && !pit)
            path("W", row, col - 1);
        if (i < 26)
            file += std::string("ITEM ") + char('A' + i) + "\r\n";
        if (i == 0)
            file += "START\r\n";
        if (withEnd && name == "2C")
            file += "ENDGAME\r\n";
        file += "\r\n";
    }
    file += "[COMBOS]\r\n";
    for (int i = 0; i < 26; i += 2)
        file += std::string{char('A' + i), '+', char('A' + i + 1), '=', char('A' + i)} + "\r\n";
    return file + "\r\n";
}

long statusKilobytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::char_traits<char>::length(field));
    }
    return 0;
}

// The process's memory from here on: the peak is set back to what the
// process holds now, after handing back what earlier runs freed.
class PeakMemory
{
public:
    PeakMemory()
    {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        before = statusKilobytes("VmRSS:");
    }
    double bytesAbove() const { return double(statusKilobytes("VmHWM:") - before) * 1024; }

private:
    long before;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The time on the clock and on the processor (the machine may be shared).
class Timer
{
public:
    double seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); }
    double cpuSeconds() const { return double(std::clock() - cpuStart) / CLOCKS_PER_SEC; }

private:
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
};

// The figures of runs of one task: median times, and the peak memory of the
// first run.
struct Figures
{
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    double peakBytes = 0;

    template<typename Task>
    void time(int runs, Task task)
    {
        for (int run = 0; run < runs; ++run) {
            const PeakMemory memory;
            const Timer timer;
            task();
            cpuSeconds.push_back(timer.cpuSeconds());
            seconds.push_back(timer.seconds());
            if (run == 0)
                peakBytes = memory.bytesAbove();
        }
    }
};

// A game of the adventure after count random commands of those that do
// something there, or nothing when it no longer waits for one.
std::optional<Game> randomPlay(const std::string &level, const std::string &language, std::mt19937 &random, int count)
{
    std::optional<Game> game(std::in_place, Game::Setup{level, {}, language, true, {}});
    game->start();
    for (int i = 0; i < count && game->state() == Game::State::Playing; ++i) {
        std::vector<Text> commands{U"N", U"S", U"E", U"W"};
        std::vector<Text> carried;
        for (int item = 1; item <= Level::ItemCount; ++item) {
            const Text &name = game->level().items[item - 1];
            if (name.empty())
                continue;
            commands.push_back(U"TAKE " + name);
            commands.push_back(U"DROP " + name);
            if (game->isCarried(item))
                carried.push_back(name);
        }
        for (const Text &a : carried) {
            for (const Text &b : carried)
                commands.push_back(U"COMBINE " + a + U" WITH " + b);
        }
        game->enter(commands[random() % commands.size()]);
    }
    if (game->state() != Game::State::Playing)
        return std::nullopt;
    return game;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: checkbench BIN_DIR [RUNS] [STATES]\n");
        return 2;
    }
    const std::filesystem::path bin = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const std::size_t limit = argc > 3 ? std::size_t(std::atoll(argv[3])) : 4000000;
    const std::string language = (bin / "Language.txt").string();
    const std::string adventure = (bin / "QUILLMOOR.qw").string();

    const std::filesystem::path level = std::filesystem::temp_directory_path() / "quillmoor-checkbench.qw";
    std::ofstream(level, std::ios::binary) << generatedLevel(false);
    Figures search;
    std::size_t states = 0;
    std::vector<double> stored;
    search.time(runs, [&] {
        WinSearch winSearch({level.string(), {}, language, true, {}}, 1, limit);
        const WinSearch::Outcome outcome = winSearch.run();
        states = outcome.states;
        stored.push_back(double(outcome.bytes) / double(states));
    });
    std::printf("Generated level, 81 locations, 26 items, %zu states, median of %d runs:\n"
                "  %.2f million states a second of processor time (%.2f million on the clock)\n"
                "  %.1f bytes a state in the search's stores, %.1f bytes a state of the process's peak memory\n",
                states, runs, double(states) / median(search.cpuSeconds) / 1e6,
                double(states) / median(search.seconds) / 1e6, median(stored), search.peakBytes / double(states));

    std::ofstream(level, std::ios::binary) << generatedLevel(true);
    const LevelCheck::Options options{language, 1, limit};
    Figures whole;
    CheckReport report;
    whole.time(runs, [&] { report = LevelCheck::checkFile(level.string(), options); });
    std::filesystem::remove(level);
    std::printf("The same level with an end and a pit, checked whole (%zu states, %zu ways to get stuck), "
                "median of %d runs:\n"
                "  %.2f s of processor time (%.2f s on the clock), %.1f bytes a state of the process's peak memory\n",
                report.explored, report.deadEnds.size(), runs, median(whole.cpuSeconds), median(whole.seconds),
                whole.peakBytes / double(report.explored));

    Figures bundled;
    bundled.time(runs, [&] { report = LevelCheck::checkFile(adventure, {language, 1, 10000000}); });
    if (report.winnable != true) {
        std::fprintf(stderr, "checkbench: the bundled adventure was not found winnable\n");
        return 1;
    }
    std::printf("QUILLMOOR.qw and SCRIPTORIUM.qw checked whole: winnable in %zu commands, %zu states, %zu ways to "
                "get stuck, median of %d runs:\n"
                "  %.1f ms of processor time (%.1f ms on the clock)\n",
                report.walkthrough.size(), report.explored, report.deadEnds.size(), runs,
                median(bundled.cpuSeconds) * 1000, median(bundled.seconds) * 1000);

    // The states random play reaches, each hinted once a run.
    std::mt19937 random(18);
    std::vector<Game> games;
    while (games.size() < 200) {
        if (std::optional<Game> game = randomPlay(adventure, language, random, int(random() % 120)))
            games.push_back(std::move(*game));
    }
    std::vector<double> hints;
    std::vector<double> slowest;
    for (int run = 0; run < runs; ++run) {
        double slow = 0;
        for (const Game &game : games) {
            const Timer timer;
            Hint::next(game);
            hints.push_back(timer.seconds());
            slow = std::max(slow, timer.seconds());
        }
        slowest.push_back(slow);
    }
    std::printf("The hint on the bundled adventure, from %zu states random play reaches, %d runs:\n"
                "  %.1f ms on the clock for the median state, %.1f ms for the slowest (median of the runs)\n",
                games.size(), runs, median(hints) * 1000, median(slowest) * 1000);
    return 0;
}
