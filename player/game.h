// SPDX-License-Identifier: MIT
#pragma once

#include "combo.h"
#include "gridref.h"
#include "languagetable.h"

#include <QString>

#include <array>

class GameHost;

// One run of the player: the level being played, the inventory, the chosen
// language and the commands. It knows no window: a front end calls start()
// once and then enter() with every line the user types, and the game runs
// until it waits for the next line. All it shows goes through its GameHost.
class Game
{
public:
    enum class State {
        Starting,
        ChoosingLanguage, // waits for the number of a language
        Playing, // waits for a command
        Ended, // the user quit or ended the game
        Stopped, // a fault stopped the game; stopMessage() says which
    };

    struct Setup
    {
        // Names the level to play, double quotes ignored; blank plays defaultLevel.
        QString commandLine;
        QString defaultLevel;
        QString languageFile;
    };

    static constexpr int FieldCount = 30;
    using Fields = std::array<QString, FieldCount>;

    Game(GameHost &host, const Setup &setup);

    // Loads the level, shows the banner and the language menu; starts the
    // game at once when the language file holds only one language.
    void start();
    // One line as typed: the text after its last ">" is the answer or command.
    void enter(const QString &typed);

    State state() const { return current; }
    bool waiting() const { return current == State::ChoosingLanguage || current == State::Playing; }
    // The fault's description, CR LF and the command line.
    const QString &stopMessage() const { return stopped; }

    GridRef position() const { return {currow, curcol}; }
    const QString &location(GridRef ref) const { return locations[ref.index()]; }
    bool isCarried(int item) const { return carried[item - 1]; } // item 1 to 26

    // Cuts text at every "|" into fields; false when text goes on past the
    // last field (what fits is kept).
    static bool splitfields(const QString &text, Fields &fields);

private:
    static constexpr int ItemCount = 26;
    static constexpr int ComboRows = 100;

    void stop(const QString &description);
    void chooseLanguage(const QString &answer);
    void beginPlay();
    void turn();

    void loadgame(const QString &gamefile);
    void enterlocation();
    void usermove(const QString &command);
    bool entercheck(const QString &reqitem, const QString &reqmsg);
    void take(QString itemname);
    void drop(QString itemname);
    void combine(const QString &usercommand);

    void go(int direction);
    void showHelp(const QString &word);
    void showInventory();
    void loadLevelAt(const QString &record);
    QString levelPathFrom(const QString &named) const;

    const QString &message(int n) const;
    // Splits message n into fields.
    void split(int n);
    const QString &field(int n) const { return fields[n - 1]; }
    QString &record() { return locations[position().index()]; }

    GameHost &host;
    Setup setup;
    State current = State::Starting;
    QString stopped;

    LanguageTable languages;
    int language = 0;
    Fields fields;

    // The level being played.
    QString levelfile;
    std::array<QString, GridRef::Size * GridRef::Size> locations;
    std::array<QString, ItemCount> itemnames;
    std::array<bool, ItemCount> carried{};
    std::array<Combo, ComboRows> combos;
    int currow = 0;
    int curcol = 0;
};
