// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"
#include "commandtable.h"
#include "gridref.h"
#include "languagetable.h"
#include "levelreader.h"
#include "playstate.h"
#include "recordpool.h"
#include "savedgame.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GameHost;

// One run of the player: the levels it has loaded (read-only), the play
// state, the chosen language and the commands. It knows no window: a front
// end calls start() once and then enter() with every line the user types,
// and answer() whenever the game asks a Yes/No question; the game runs until
// it waits again. All it shows goes through its GameHost.
class Game
{
public:
    enum class State {
        Starting,
        ChoosingLanguage, // waits for the number of a language
        Playing, // waits for a command
        Asking, // waits for Yes or No to question()
        Ended, // the user quit or ended the game
        Stopped, // a fault stopped the game; stopMessage() says which
    };

    struct Setup
    {
        // Names the level to play, double quotes ignored; blank plays defaultLevel.
        std::string commandLine;
        std::string defaultLevel;
        std::string languageFile;
        // A level file once read is not read again when play comes back to
        // it; for tools that replay many games, where the files stay put.
        bool keepLevels = false;
        // Level files held in memory, by the path that names them: read in
        // place of the file, as for a level an editor has not saved yet.
        std::map<std::string, std::string> heldLevels = {};
        // The language file's bytes held in memory, read in place of the
        // file that languageFile names (and still names in messages).
        std::optional<std::string> heldLanguage = {};
    };

    // A level as play reads it: its records as numbers in the game's pool,
    // and its names and rules with the upper-case forms the commands compare.
    struct LoadedLevel
    {
        std::string path;
        std::array<Text, Level::ItemCount> items;
        std::array<Text, Level::ItemCount> upperItems;
        std::vector<Combo> combos;
        std::array<std::uint32_t, Level::LocationCount> records{};
        std::optional<GridRef> start;
        std::shared_ptr<const std::string> bytes; // the file's, as read: a saved game names them by digest
    };

    Game(GameHost &host, Setup setup);
    // A game that shows nothing: for tools that play many games to find
    // out where they lead.
    explicit Game(Setup setup);
    // This game as it stands, showing nothing and reading each level file
    // once: for a tool that plays on from here to find where it leads, as
    // a hint does, while this game goes on.
    Game quietCopy() const;

    // Loads the level, shows the banner and the language menu; starts the
    // game at once when the language file holds only one language.
    void start();
    // One line as typed: the text after its last ">" is the answer or command.
    void enter(TextView typed);
    // The answer to question(): true for Yes.
    void answer(bool yes);

    State state() const { return current; }
    bool waiting() const { return current == State::ChoosingLanguage || current == State::Playing; }
    // The open Yes/No question, in State::Asking.
    const Text &question() const { return asked; }
    // Whether the open question is the end-of-game one, not the quit one.
    bool askingToEnd() const { return current == State::Asking && pending == Pending::End; }
    // The fault's description, CR LF and the command line (UTF-8).
    const std::string &stopMessage() const { return stopped; }
    // The fault's description alone.
    const std::string &stopReason() const { return reason; }

    const PlayState &play() const { return now; }
    // Goes on from a state this game reached before, waiting for a command.
    void resume(const PlayState &state);

    // The game as a saved game keeps it, to go on with in any game, in any
    // program; nothing before a language is chosen (there is no game yet)
    // and after a fault stopped it.
    std::optional<SavedGame> saved() const;
    // In place of start(): goes on with a saved game, in its language and
    // its level, and shows where the player stands as walking in does (the
    // narrative, the exits, the items and the prompt) but without what
    // walking in sets off: no end-of-game question, no level loaded. The
    // level is found by its name as saved: from the current folder, else
    // beside savedFile (LevelLookup); a level held in memory by that name
    // is taken first, and one with the saved digest when the name finds
    // none, as a page holds its levels under names of its own. The
    // language file is the Setup's. Either must be the very file the game
    // was played with. Returns why the game cannot go on, naming the file,
    // and then leaves this game as it was (not started, nothing shown);
    // empty when it goes on. savedFile names the saved game in messages.
    // A fault in the language file that only play shows stops the game as
    // after start(): state() tells.
    std::string restore(const SavedGame &saved, const std::string &savedFile);

    const LoadedLevel &level() const { return levels[now.level]; }
    const LoadedLevel &level(std::uint16_t index) const { return levels[index]; }
    // How many levels the game has loaded (each once), in the order loaded.
    std::size_t levelCount() const { return levels.size(); }
    const RecordPool &records() const { return pool; }
    // For tools that add records of their own, as RecordPool::plainest does.
    RecordPool &records() { return pool; }
    const LanguageTable &languageTable() const { return languages; }
    int chosenLanguage() const { return language; }
    // How the chosen language's commands are read, once it is chosen.
    const CommandTable &commandTable() const { return commands; }
    GridRef position() const { return now.position(); }
    const Text &location(GridRef ref) const { return pool.record(now.records[ref.index()]).text(); }
    bool isCarried(int item) const { return now.carries(item - 1); } // item 1 to 26
    const std::string &levelFile() const { return level().path; }

    // Whether a player carrying carried (bit n: item n) meets a path's
    // requirement: its letter names an item, A to Z, that is carried.
    static bool meets(const LocationRecord::Requirement &requirement, std::uint32_t carried);
    // Whether a location with these facts has a path that way that lets a
    // player carrying carried through.
    static bool opens(const RecordPool::Facts &here, Direction d, std::uint32_t carried);

private:
    enum class Pending { None, Quit, End };

    void stop(const std::string &description);
    void chooseLanguage(TextView answer);
    void beginPlay();
    void turn();
    void prompt();

    // namedByLevel: the file is named by a level, whoever wrote it, and is
    // read only when it is a file (not a device or a pipe). Otherwise it is
    // the level the game starts with, which must be one.
    void loadgame(const std::string &gamefile, bool namedByLevel = false);
    // The Setup's language file, held or read; bytes receives its bytes.
    LanguageTable readLanguage(std::string &bytes) const;
    // Plays a level read from bytes, and says what is wrong with it.
    void addLevel(LevelReader::Result &result, const std::string &gamefile, std::shared_ptr<const std::string> bytes);
    void enterLevel(std::size_t index);
    // Describes the location; stops at the end-of-game question, which
    // describeRest() takes up after a No.
    void enterlocation();
    void describeRest();
    // The exits and the items of the location.
    void describeWays();
    void usermove(TextView command);
    bool entercheck(char32_t reqitem, TextView reqmsg);
    void take(TextView itemname);
    void drop(TextView itemname);
    // The refusal of a take or drop that moved nothing: message named with
    // the name typed, or message unnamed when no name was typed.
    void refuse(bool found, TextView itemname, Message named, Message unnamed);
    void combine(TextView usercommand);

    void go(Direction direction);
    void showHelp(TextView word);
    void showInventory();
    void loadLevelAt(const RecordPool::Facts &here);

    const Text &message(Message m) const;
    const LanguageTable::Fields &fields(Message m) const;
    const RecordPool::Facts &here() const { return pool.facts(now.records[now.position().index()]); }
    std::uint32_t &hereId() { return now.records[now.position().index()]; }
    void print(std::initializer_list<TextView> parts);

    GameHost *host = nullptr;
    Setup setup;
    State current = State::Starting;
    Pending pending = Pending::None;
    Text asked;
    std::string stopped;
    std::string reason;

    LanguageTable languages;
    std::shared_ptr<const std::string> languageBytes;
    int language = 0;
    CommandTable commands;
    std::string firstLevel; // the level the game began with, as named

    RecordPool pool;
    std::vector<LoadedLevel> levels;
    // Tools that replay many games copy a state in for every command: on a
    // cache line of its own the copy is fast wherever the state comes from.
    alignas(64) PlayState now;
    Text line; // reused to build each printed piece
    // Reused for every line typed: the command, and its upper case that
    // the words are compared with.
    Text entered;
    Text enteredKey;
};
