// SPDX-License-Identifier: MIT
#pragma once

#include "direction.h"
#include "itemletter.h"
#include "text.h"
#include "textcodec.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One location as both programs hold it: the narrative, then one piece per
// tag line of its block, every piece followed by "|". Line breaks inside a
// piece are CR LF in memory ("~" in the file and in a record a save left).
//
// Tags are found by plain substring search anywhere in the record, first
// occurrence, so a narrative that holds "PATH N" acts as that tag. The
// programs read some tags in slightly different ways, which stored levels
// rely on; each reading is one function here, named for who uses it.
class LocationRecord
{
public:
    static constexpr TextView DefaultNarrative = U"In this area you see nothing unusual.";
    static constexpr TextView LineBreak = U"\r\n";

    // The words of the tags, as records and level files hold them. Messages
    // that quote a tag take it from here.
    static constexpr TextView PathWord = U"PATH "; // then N, S, E or W
    static constexpr TextView RequiresWord = U" REQUIRES="; // after "PATH N", then the item's letter
    static constexpr TextView ItemWord = U"ITEM "; // then the item's letter
    static constexpr TextView StartTag = U"START";
    static constexpr TextView EndTag = U"ENDGAME";
    static constexpr TextView LoadLevelTag = U"LOADLEVEL"; // then the file, then "COMMENT="
    static constexpr TextView CommentWord = U"COMMENT=";

    // What entering the location does, as the area editor offers it.
    enum class Kind { NotUsed, Normal, Start, End, LoadLevel };

    struct Requirement
    {
        char32_t letter = 0; // the character after "REQUIRES="; 0 when there is none
        TextView lockout; // up to the next "|", with the blank written before it
    };

    struct LevelLoad
    {
        Text file;
        Text comment;
        std::size_t commentAt = TextView::npos; // where the comment begins in the record
    };

    // What the area editor's commit turns into a record.
    struct Path
    {
        bool exists = false;
        char32_t letter = 0; // the required item; 0 for an open path
        Text lockout;
    };
    struct Contents
    {
        Text narrative;
        std::array<Path, 4> paths;
        std::vector<int> items; // 0 to 25 for A to Z, in the order listed
        Kind kind = Kind::Normal;
        Text levelFile; // for Kind::LoadLevel
        Text levelComment;
    };

    LocationRecord() = default;
    explicit LocationRecord(Text text)
        : whole(std::move(text))
    {
    }

    const Text &text() const { return whole; }
    bool isEmpty() const { return whole.empty(); }
    // A blank record (spaces only) is not written to the file.
    bool isBlank() const { return text::isBlank(whole); }

    // The text before the first "|": the narrative as the player prints it.
    TextView narrative() const;
    // The narrative the area editor shows: the default one when the first
    // piece holds a tag word, as a record without its narrative does.
    TextView editorNarrative() const;

    // Where the tags the player reads first stand, found in one pass over the
    // record; the readings below are read from here.
    struct Tags
    {
        static constexpr std::size_t None = TextView::npos;
        std::array<std::size_t, 4> paths{None, None, None, None}; // "PATH N", ... in Direction order
        std::array<std::size_t, 4> requirements{None, None, None, None}; // "PATH N REQUIRES=", ...
        std::uint32_t items = 0; // bit n: "ITEM X" for item n
        std::size_t end = None; // "ENDGAME"
        std::size_t levelLoad = None; // "LOADLEVEL"
    };
    Tags tags() const;

    // Where in the record the first of a tag stands (npos when nowhere), so
    // that a message can name the line the author wrote it on.
    std::size_t pathAt(Direction d) const;
    std::size_t itemAt(int item) const;
    std::size_t levelLoadAt() const;

    bool hasPath(Direction d) const; // "PATH N" anywhere, locked or not
    std::optional<Requirement> requirement(Direction d) const; // first "PATH N REQUIRES="
    std::optional<Requirement> requirement(Direction d, const Tags &tags) const;
    bool holdsItem(int item) const; // "ITEM X", item 0 to 25
    bool isEnd() const; // "ENDGAME"
    bool loadsLevel() const; // "LOADLEVEL"
    // The player's reading of "LOADLEVEL file COMMENT=text": the file runs
    // from one character after the word to the first "COMMENT=" after it (a
    // blank before "COMMENT=" is not part of it); the comment to the next "|".
    // Nothing when no "COMMENT=" follows the word.
    std::optional<LevelLoad> levelLoad() const;
    std::optional<LevelLoad> levelLoad(const Tags &tags) const;
    // The area editor's reading: confined to the tag's piece, the file keeping
    // the blank before "COMMENT="; without "COMMENT=" all of the piece after
    // the word is the file.
    LevelLoad editorLevelLoad() const;
    // The type the area editor selects: "START", then "ENDGAME", then
    // "LOADLEVEL", the last found winning; given the first guess otherwise.
    Kind editorKind(Kind guess) const;
    // Whether the save counts the location as a start: "START|".
    bool startsForSave() const;
    // "START" anywhere: the area editor's type and the map's picture.
    bool mentionsStart() const;
    // Whether the map's picture shows items: "|ITEM ", so an item tag that
    // stands first, with no piece before it, shows none.
    bool showsItems() const;
    // How many times "ITEM " stands in the record, in a tag or in other text.
    std::size_t itemMentions() const;

    // Changes by play: taking removes every occurrence of the item's tag,
    // the "|" around it staying; dropping appends the tag and a "|".
    void removeItem(int item);
    void appendItem(int item);
    // The file reader: appends one line of a block, as the file's bytes,
    // with its "~" turned into line breaks, then a "|".
    void appendLine(std::string_view line, TextCodec::Encoding encoding);
    // Rewrites line breaks as CR LF ("~" in a record a save left).
    LocationRecord withLineBreaks() const;

    // The form a save writes and keeps: line breaks as "~", the default
    // narrative in place of a blank one, no empty or blank pieces after it,
    // every piece ended by "|".
    LocationRecord normalised() const;
    bool isNormalised() const;

    // The record the area editor's commit writes: narrative, paths N, S, E,
    // W, items, type. A typed "|" would split it and is stored as "/".
    static LocationRecord compose(const Contents &contents);

    // Line readings of the file reader: a line that is "START" once trimmed
    // is the start; one that is "ITEM X" places item X (0 to 25, else -1).
    static bool isStartLine(TextView line);
    static int placedItemOfLine(TextView line);
    // A piece that is an item tag and nothing else, "ITEM X": its item (0
    // to 25); -1 for any other piece.
    static int itemOfPiece(TextView piece);

    static Text itemTag(int item); // "ITEM X"
    static Text pathTag(Direction d); // "PATH N"
    static Text requirementTag(Direction d); // "PATH N REQUIRES="

    friend bool operator==(const LocationRecord &, const LocationRecord &) = default;

private:
    Text whole;
};
