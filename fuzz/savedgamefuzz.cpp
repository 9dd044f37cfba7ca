// SPDX-License-Identifier: MIT
// Fuzz target: the saved-game reader, and a game going on from what it
// reads. Any bytes give a saved game or the one reason they are none, naming
// the file; an input without an "end" line is given the one that checks its
// lines, so that the entries behind the check are fuzzed too. A saved game
// read is written again and reads the same. Then, with the digests of a
// small level and language file put in, it goes on in a new game, which
// shows where the player stands and saves as the same game (less the records
// that are the level's own), or refuses a language the file does not hold.
#include "consoletext.h"
#include "fuzzcheck.h"
#include "game.h"
#include "levelreader.h"
#include "savedgame.h"
#include "scratchfolder.h"
#include "sha256.h"
#include "textcodec.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

namespace {

constexpr std::size_t MaxInput = 1 << 16;

constexpr std::string_view LevelFile = "[ITEMS]\r\nA rope\r\nB hook\r\nC grapple\r\n\r\n"
                                   "[LOCATION 1A]\r\nCell.\r\nPATH E\r\nPATH S REQUIRES=C The wall is high.\r\n"
                                   "ITEM A\r\nITEM B\r\nSTART\r\n\r\n"
                                   "[LOCATION 1B]\r\nYard.~Wind.\r\nPATH W\r\nPATH S\r\n\r\n"
                                   "[LOCATION 2A]\r\nTop of the wall.\r\nENDGAME\r\n\r\n"
                                   "[LOCATION 2B]\r\nGate.\r\nPATH N\r\nLOADLEVEL b.qw COMMENT=Out.\r\n\r\n"
                                   "[COMBOS]\r\nA+B=C\r\n\r\n";

constexpr std::string_view LanguageFile
    = "[English]\r\nWhat?|Try HELP.\r\nYou won!|End?\r\nNo|here.\r\nTake what?\r\nYou take the\r\n"
      "You drop the|here.\r\nYou lack|.\r\nDrop what?\r\nYou combine|with|and make\r\nNo|: one.|: two.\r\n"
      "No way.\r\nAn exit\r\nYou see\r\nGo on.\r\nN|north\r\nS|south\r\nE|east\r\nW|west\r\nDROP \r\nTAKE \r\n"
      "WITH\r\nUSE \r\nHELP\r\nI\r\nQ\r\nYou carry:\r\nQuit?\r\n";

// The language file, in a folder of this process's own; the level is held
// in memory.
struct Files
{
    Files()
    {
        language = folder.path + "/Language.txt";
        std::ofstream(language, std::ios::binary) << LanguageFile;
        records = LevelReader::read(LevelFile, "fuzz.qw").level.records;
    }

    ScratchFolder folder;
    std::string language;
    std::array<LocationRecord, Level::LocationCount> records;
};

// The lines as the reader takes them, and whether one of them is the "end" line.
std::vector<std::string_view> linesOf(std::string_view bytes, bool *ended)
{
    std::vector<std::string_view> lines = TextCodec::lines(bytes);
    *ended = std::any_of(lines.begin(), lines.end(),
                         [](std::string_view line) { return line.substr(0, line.find(' ')) == "end"; });
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxInput)
        return 0;
    std::string bytes(reinterpret_cast<const char *>(data), size);
    bool ended = false;
    const std::vector<std::string_view> lines = linesOf(bytes, &ended);
    if (!ended) {
        Sha256 sum;
        for (std::string_view line : lines) {
            sum.add(line);
            sum.add("\n");
        }
        if (!bytes.empty() && bytes.back() != '\n')
            bytes += '\n';
        bytes += "end " + sum.hex() + '\n';
    }

    std::string error;
    std::optional<SavedGame> saved = SavedGame::read(bytes, "fuzz.qwsave", &error);
    if (!saved) {
        FUZZ_CHECK(error.find("\"fuzz.qwsave\"") != std::string::npos, "the reason names no file: " + error);
        return 0;
    }
    FUZZ_CHECK(error.empty(), "a saved game read, and a reason: " + error);
    const std::string written = saved->text();
    const std::optional<SavedGame> again = SavedGame::read(written, "again.qwsave", &error);
    FUZZ_CHECK(again && *again == *saved, "written and read again: " + error + "\n" + written);

    static const Files files;
    saved->level = {"fuzz.qw", Sha256::hex(LevelFile)};
    saved->language = {files.language, Sha256::hex(LanguageFile)};
    Game::Setup setup{"fuzz.qw", {}, files.language};
    setup.heldLevels["fuzz.qw"] = std::string(LevelFile);
    ConsoleText console;
    Game game(console, setup);
    const std::string refusal = game.restore(*saved, "fuzz.qwsave");
    if (saved->languageNumber != 1) {
        FUZZ_CHECK(!refusal.empty() && game.state() == Game::State::Starting && console.shown.empty(),
                   "language " + std::to_string(saved->languageNumber) + " of one: " + refusal);
        return 0;
    }
    FUZZ_CHECK(refusal.empty(), "refused: " + refusal);
    FUZZ_CHECK(game.state() == Game::State::Playing, "state " + std::to_string(int(game.state())));
    FUZZ_CHECK(console.shown.size() >= 3 && console.shown.substr(console.shown.size() - 3) == U"\r\n>",
               "shown: " + shown(console.shown));

    SavedGame expected = *saved;
    std::erase_if(expected.records, [](const SavedGame::Record &record) {
        return record.text == files.records[std::size_t(record.at.index())].text();
    });
    FUZZ_CHECK(game.saved() == expected, "saved again:\n" + game.saved()->text() + "expected:\n" + expected.text());
    return 0;
}
