// SPDX-License-Identifier: MIT
#pragma once

#include "direction.h"

#include <array>

// The 27 messages of a language, numbered as they follow its header line.
// "Split" messages are cut at every "|" into fields, which the player prints
// with its own punctuation between them; word lists are split too, and a
// typed command is compared with their words (CommandTable).
enum class Message {
    NotUnderstood = 1, // split: field 1 'command'. field 2
    GameWon, // split: field 1 is printed, field 2 asks whether to end the game
    NotHere, // split: take of a name that lies nowhere here: field 1 'name' field 2
    TakeWhat, // a take without a name
    Taken, // then the name
    Dropped, // split: field 1 name field 2
    NotCarried, // split: drop of a name not carried: field 1 'name' field 2
    DropWhat, // a drop without a name
    Combined, // split: field 1 first field 2 second field 3, then the result's name
    CannotCombine, // split: field 1 'command', then field 2 (one item twice) or field 3 (not two items)
    NoWay, // no path that way
    ExitHere, // then the direction's name: announces an exit
    ItemHere, // then the item's name: announces an item lying here
    QuitDeclined,
    NorthWords, // split: the words for north; field 2 is north's name
    SouthWords,
    EastWords,
    WestWords,
    DropWords, // split
    TakeWords, // split
    Connectors, // words put between two names, "/"-separated: only the help shows them
    CombineWords, // split
    HelpWords, // split
    InventoryWords, // split
    QuitWords, // split
    InventoryHeading,
    QuitQuestion, // asked with Yes and No
};
static_assert(int(Message::QuitQuestion) == 27, "a language has 27 messages");

// The word list of a direction.
constexpr Message directionWords(Direction d)
{
    return Message(int(Message::NorthWords) + int(d));
}

// The messages the player cuts into fields; it prints the others whole.
constexpr std::array<Message, 17> SplitMessages{
    Message::NotUnderstood, Message::GameWon,      Message::NotHere,    Message::Dropped,   Message::NotCarried,
    Message::Combined,      Message::CannotCombine, Message::NorthWords, Message::SouthWords, Message::EastWords,
    Message::WestWords,     Message::DropWords,    Message::TakeWords,  Message::CombineWords, Message::HelpWords,
    Message::InventoryWords, Message::QuitWords,
};
