// SPDX-License-Identifier: MIT
// Times the level checker's search and prints medians of several runs:
//   1. states a second and memory a stored state, on a generated level of 81
//      locations, each open to its neighbours, and 26 items that can be
//      taken, dropped anywhere and combined by 13 rules, with no way to win,
//      searched up to a limit of states;
//   2. the check of the bundled adventure, both levels, to its shortest
//      walkthrough.
// Usage: checkbench BIN_DIR [RUNS] [STATES]
#include "datafolder.h"
#include "winsearch.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string generatedLevel()
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
        if (row > 1)
            file += "PATH N\r\n";
        if (row < 9)
            file += "PATH S\r\n";
        if (col < 9)
            file += "PATH E\r\n";
        if (col > 1)
            file += "PATH W\r\n";
        if (i < 26)
            file += std::string("ITEM ") + char('A' + i) + "\r\n";
        if (i == 0)
            file += "START\r\n";
        file += "\r\n";
    }
    file += "[COMBOS]\r\n";
    for (int i = 0; i < 26; i += 2)
        file += std::string{char('A' + i), '+', char('A' + i + 1), '=', char('A' + i)} + "\r\n";
    return file + "\r\n";
}

long peakKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Timed
{
    WinSearch::Outcome outcome;
    double seconds; // on the clock
    double cpuSeconds; // on the processor: the machine may be shared
};

Timed timedSearch(const std::string &level, const std::string &language, std::size_t states)
{
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    WinSearch search({level, {}, language, true, {}}, 1, states);
    Timed timed{search.run(), 0, 0};
    timed.cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    timed.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return timed;
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

    const std::filesystem::path level = std::filesystem::temp_directory_path() / "quillmoor-checkbench.qw";
    std::ofstream(level, std::ios::binary) << generatedLevel();

    std::vector<double> rates;
    std::vector<double> cpuRates;
    std::vector<double> stored;
    std::vector<double> resident;
    std::size_t states = 0;
    for (int run = 0; run < runs; ++run) {
        const long before = peakKilobytes();
        const Timed timed = timedSearch(level.string(), language, limit);
        states = timed.outcome.states;
        rates.push_back(double(states) / timed.seconds);
        cpuRates.push_back(double(states) / timed.cpuSeconds);
        stored.push_back(double(timed.outcome.bytes) / double(states));
        // The peak only grows, so only the first run shows the whole search.
        if (run == 0)
            resident.push_back(double(peakKilobytes() - before) * 1024 / double(states));
    }
    std::filesystem::remove(level);
    std::printf("Generated level, 81 locations, 26 items, %zu states, median of %d runs:\n"
                "  %.2f million states a second of processor time (%.2f million on the clock)\n"
                "  %.1f bytes a state in the search's stores, %.1f bytes a state of the process's peak memory\n",
                states, runs, median(cpuRates) / 1e6, median(rates) / 1e6, median(stored), median(resident));

    std::vector<double> times;
    std::vector<double> cpuTimes;
    std::size_t steps = 0;
    std::size_t adventureStates = 0;
    for (int run = 0; run < runs; ++run) {
        const Timed timed = timedSearch((bin / "QUILLMOOR.qw").string(), language, 10000000);
        times.push_back(timed.seconds);
        cpuTimes.push_back(timed.cpuSeconds);
        steps = timed.outcome.walkthrough.size();
        adventureStates = timed.outcome.states;
        if (timed.outcome.verdict != WinSearch::Verdict::Winnable) {
            std::fprintf(stderr, "checkbench: the bundled adventure was not found winnable\n");
            return 1;
        }
    }
    std::printf("QUILLMOOR.qw and SCRIPTORIUM.qw proved winnable in %zu commands (%zu states), median of %d runs:\n"
                "  %.1f ms of processor time (%.1f ms on the clock)\n",
                steps, adventureStates, runs, median(cpuTimes) * 1000, median(times) * 1000);
    return 0;
}
