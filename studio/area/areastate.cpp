// SPDX-License-Identifier: MIT
#include "areastate.h"

#include "levelformat.h"

namespace {

constexpr int ItemCount = 26;

QString nameOf(const QStringList &names, int slot)
{
    return slot < names.size() ? names.at(slot) : QString();
}

QChar slotLetter(int slot)
{
    return QChar(u'A' + slot);
}

// The text up to the next "|" from start on, or to the end of the record.
qsizetype pieceEnd(const QString &record, qsizetype start)
{
    const qsizetype end = record.indexOf(u'|', start);
    return end < 0 ? record.size() : end;
}

// A "|" would end the piece early and split the record, so none is stored.
QString storable(QString text)
{
    return text.replace(u'|', u'/');
}

QString trimmed(const QString &text)
{
    return storable(LevelFormat::trimSpaces(text));
}

// Words that mark the first piece as a tag rather than a narrative.
bool looksLikeTag(const QString &narrative)
{
    for (const char *word : {"ITEM", "PATH", "START", "ENDGAME", "LOADLEVEL"}) {
        if (narrative.contains(QLatin1String(word)))
            return true;
    }
    return false;
}

} // namespace

QString AreaState::withLineBreaks(QString record)
{
    return record.replace(u'~', LevelFormat::LineBreak);
}

QChar AreaState::directionLetter(Direction direction)
{
    return QLatin1String("NSEW").at(direction);
}

QString AreaState::directionName(Direction direction)
{
    static constexpr const char *names[] = {"north", "south", "east", "west"};
    return QLatin1String(names[direction]);
}

QChar AreaState::letterOf(const QString &name, const QStringList &names)
{
    for (int slot = 0; slot < ItemCount; ++slot) {
        const QString candidate = nameOf(names, slot);
        if (!LevelFormat::isBlank(candidate) && candidate == name)
            return slotLetter(slot);
    }
    return {};
}

AreaState AreaState::open(const QString &record, const QStringList &names, const QList<bool> &placed, bool inUse)
{
    AreaState state;

    // The type tags win over the first guess, the last that applies over the others.
    state.type = inUse ? Type::Normal : Type::NotUsed;
    if (record.contains(QLatin1String("START")))
        state.type = Type::Start;
    if (record.contains(QLatin1String("ENDGAME")))
        state.type = Type::EndWin;
    const qsizetype load = record.indexOf(QLatin1String("LOADLEVEL"));
    if (load >= 0) {
        state.type = Type::LoadLevel;
        // "LOADLEVEL " + file + " COMMENT=" + narrative; the file keeps the
        // blank before "COMMENT=". Without "COMMENT=" in the tag, all of the
        // tag after the word is the file.
        const qsizetype end = pieceEnd(record, load + 9);
        const qsizetype file = std::min(load + 10, end);
        const qsizetype comment = record.indexOf(QLatin1String("COMMENT="), file);
        if (comment >= 0 && comment < end) {
            state.levelFile = record.mid(file, comment - file);
            state.levelNarrative = record.mid(comment + 8, end - comment - 8);
        } else {
            state.levelFile = record.mid(file, end - file);
        }
    }

    for (int d = North; d <= West; ++d) {
        const QString tag = QStringLiteral("PATH ") + directionLetter(Direction(d));
        Path &path = state.paths[d];
        path.exists = record.contains(tag);
        const qsizetype required = record.indexOf(tag + QStringLiteral(" REQUIRES="));
        if (required < 0)
            continue;
        // The letter, then the lockout narrative with the blank written before it.
        const qsizetype letterAt = required + 16;
        const qsizetype end = pieceEnd(record, letterAt);
        if (letterAt < end) {
            const QChar letter = record.at(letterAt);
            if (letter >= u'A' && letter <= u'Z')
                path.item = nameOf(names, letter.unicode() - u'A');
            path.lockout = record.mid(letterAt + 1, end - letterAt - 1);
        }
    }

    for (int slot = 0; slot < ItemCount; ++slot) {
        if (record.contains(QStringLiteral("ITEM ") + slotLetter(slot)))
            state.itemsHere.append({nameOf(names, slot), slotLetter(slot)});
    }
    for (int slot = 0; slot < ItemCount; ++slot) {
        const bool isPlaced = slot < placed.size() && placed.at(slot);
        if (!isPlaced && !LevelFormat::isBlank(nameOf(names, slot)))
            state.unusedItems.append({nameOf(names, slot), slotLetter(slot)});
    }

    state.narrative = record.left(pieceEnd(record, 0));
    if (looksLikeTag(state.narrative))
        state.narrative = LevelFormat::DefaultNarrative;
    // A location with something to tell is in use.
    if (!LevelFormat::isBlank(state.narrative) && state.type == Type::NotUsed)
        state.type = Type::Normal;
    return state;
}

AreaState::Commit AreaState::commit(const QStringList &names) const
{
    Commit result;
    QString record = storable(narrative) + u'|';

    for (int d = North; d <= West; ++d) {
        const Path &path = paths[d];
        if (!path.exists)
            continue;
        const QString tag = QStringLiteral("PATH ") + directionLetter(Direction(d));
        const QString direction = directionName(Direction(d));
        if (LevelFormat::isBlank(path.item)) {
            record += tag + u'|';
            continue;
        }
        const QChar letter = letterOf(path.item, names);
        if (letter.isNull()) {
            // A requirement no item can meet would block the path for ever.
            record += tag + u'|';
            result.warnings.append(QStringLiteral("Warning: the ") + direction + QStringLiteral(" path requires a ")
                                   + path.item + QStringLiteral(" but there is no item of that name!")
                                   + LevelFormat::LineBreak
                                   + QStringLiteral("The path has been stored without a required item."));
            continue;
        }
        const QString lockout = trimmed(path.lockout);
        record += tag + QStringLiteral(" REQUIRES=") + letter + u' ' + lockout + u'|';
        if (lockout.isEmpty()) {
            result.warnings.append(QStringLiteral("Warning: the ") + direction + QStringLiteral(" path requires a ")
                                   + path.item + QStringLiteral(" but gives no reason to the player!")
                                   + LevelFormat::LineBreak
                                   + QStringLiteral("Please consider adding a Lockout Narrative."));
        }
    }

    // Each list counts its first 26 entries, one per item at most; entries
    // without a name stand for no item.
    auto pieces = [&names](const QList<Item> &items) {
        QString text;
        for (const Item &item : items.first(std::min<qsizetype>(items.size(), ItemCount))) {
            if (LevelFormat::isBlank(item.name))
                continue;
            const QChar letter = item.letter.isNull() ? letterOf(item.name, names) : item.letter;
            if (!letter.isNull())
                text += QStringLiteral("ITEM ") + letter + u'|';
        }
        return text;
    };
    const QString here = pieces(itemsHere);
    record += here;
    result.freeItems = pieces(unusedItems);

    switch (type) {
    case Type::Start:
        record += QStringLiteral("START|");
        break;
    case Type::EndWin:
        record += QStringLiteral("ENDGAME|");
        break;
    case Type::LoadLevel: {
        const QString file = trimmed(levelFile);
        const QString told = trimmed(levelNarrative);
        record += QStringLiteral("LOADLEVEL ") + file + QStringLiteral(" COMMENT=") + told + u'|';
        if (told.isEmpty()) {
            result.warnings.append(QStringLiteral("You are loading a new level but you are not telling the player!")
                                   + LevelFormat::LineBreak
                                   + QStringLiteral("Please consider adding a New Level Narrative."));
        }
        if (file.isEmpty()) {
            result.warnings.append(QStringLiteral("Warning: this area type is a 'load new level' but you have not "
                                                  "specified the level file name!"));
        }
        break;
    }
    case Type::Normal:
        break;
    case Type::NotUsed:
        // The location is dropped, and with it the items that lay here: they
        // are free for other locations at once.
        record.clear();
        result.freeItems += here;
        break;
    }

    result.record = record;
    return result;
}
