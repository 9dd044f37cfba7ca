// SPDX-License-Identifier: MIT
#include "game.h"

#include "gameerror.h"
#include "gamehost.h"
#include "levelformat.h"
#include "levelreader.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The four directions in the order they are tried; their word lists are
// messages 15 to 18.
struct Direction
{
    QLatin1StringView tag;
    int rowStep;
    int colStep;
};
constexpr Direction Directions[] = {
    {QLatin1StringView("PATH N"), -1, 0},
    {QLatin1StringView("PATH S"), 1, 0},
    {QLatin1StringView("PATH E"), 0, 1},
    {QLatin1StringView("PATH W"), 0, -1},
};
constexpr int FirstDirectionWords = 15;

QString itemTag(int item)
{
    return QStringLiteral("ITEM ") + QChar(u'A' + item);
}

// The item number of a letter A to Z, or -1.
int itemOf(const QString &letter)
{
    if (letter.size() != 1 || letter.at(0) < u'A' || letter.at(0) > u'Z')
        return -1;
    return letter.at(0).unicode() - u'A';
}

// The number a menu answer begins with, read the way the menu always has:
// blanks anywhere are skipped, a fraction goes to the nearest whole number (a
// half to the even one), and an answer that begins with no number is 0. A
// number beyond the 16-bit range is 0 too, which no language has.
int menuNumber(const QString &answer)
{
    QString text = answer;
    text.remove(u' ').remove(u'\t').remove(u'\n');
    QByteArray number;
    qsizetype at = 0;
    auto digit = [&text](qsizetype i) { return i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; };
    auto takeDigits = [&]() {
        bool any = false;
        for (; digit(at); ++at, any = true)
            number += char(text.at(at).unicode());
        return any;
    };
    if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-'))
        number += char(text.at(at++).unicode());
    bool any = takeDigits();
    if (at < text.size() && text.at(at) == u'.') {
        number += '.';
        ++at;
        any = takeDigits() || any;
    }
    if (!any)
        return 0;
    if (at < text.size() && QStringLiteral("EeDd").contains(text.at(at))) {
        qsizetype exponent = at + 1;
        const bool sign = exponent < text.size() && (text.at(exponent) == u'+' || text.at(exponent) == u'-');
        if (digit(exponent + (sign ? 1 : 0))) {
            number += 'e';
            at = exponent;
            if (sign)
                number += char(text.at(at++).unicode());
            takeDigits();
        }
    }
    bool ok = false;
    const double value = std::nearbyint(number.toDouble(&ok));
    if (!ok || value < -32768.0 || value > 32767.0)
        return 0;
    return int(value);
}

} // namespace

Game::Game(GameHost &host, const Setup &setup)
    : host(host)
    , setup(setup)
{
}

bool Game::splitfields(const QString &text, Fields &fields)
{
    fields.fill(QString());
    qsizetype current = 0;
    for (const QChar c : text) {
        if (c == u'|') {
            ++current;
            continue;
        }
        if (current >= FieldCount)
            return false;
        fields[current] += c;
    }
    return true;
}

void Game::start()
{
    if (current != State::Starting)
        return;
    try {
        const QString named = QString(setup.commandLine).remove(u'"');
        loadgame(LevelFormat::isBlank(named) ? setup.defaultLevel : named);

        const QString banner = QStringLiteral("Text Quillmoor Player: v" QUILLMOOR_VERSION "\r\n"
                                              "Made with the Quillmoor authoring kit\r\n\r\nSelect Language:");
        host.clear();
        try {
            languages = LanguageTable::readFile(setup.languageFile);
        } catch (const GameError &) {
            host.append(banner);
            throw;
        }
        QString console = banner + CrLf + languages.menu() + CrLf + u'>';
        if (languages.count() == 1) {
            language = 1;
            host.append(console.replace(QLatin1String("Select"), QLatin1String("Default")));
            beginPlay();
        } else {
            host.append(console);
            current = State::ChoosingLanguage;
        }
    } catch (const GameError &error) {
        stop(error.description);
    }
}

void Game::enter(const QString &typed)
{
    if (!waiting())
        return;
    QString command = typed.mid(typed.lastIndexOf(u'>') + 1);
    command.remove(u'\r').remove(u'\n');
    try {
        if (current == State::ChoosingLanguage) {
            chooseLanguage(command);
        } else {
            usermove(command);
            if (current == State::Playing)
                turn();
        }
    } catch (const GameError &error) {
        stop(error.description);
    }
}

void Game::stop(const QString &description)
{
    current = State::Stopped;
    stopped = description + CrLf + setup.commandLine;
}

void Game::chooseLanguage(const QString &answer)
{
    const int chosen = menuNumber(answer);
    if (chosen < 1 || chosen > languages.count()) {
        host.append(CrLf + languages.menu() + CrLf + u'>');
        return;
    }
    language = chosen;
    host.clear();
    beginPlay();
}

void Game::beginPlay()
{
    current = State::Playing;
    turn();
}

void Game::turn()
{
    enterlocation();
    if (current == State::Playing)
        host.append(CrLf + u'>');
}

const QString &Game::message(int n) const
{
    return languages.message(language, n);
}

void Game::split(int n)
{
    if (!splitfields(message(n), fields)) {
        throw GameError(QStringLiteral("Language file \"%1\", line %2: message %3 of \"%4\" has more than %5 fields.")
                            .arg(QDir::toNativeSeparators(languages.fileName()),
                                 QString::number(languages.line(language, n)), QString::number(n),
                                 languages.name(language), QString::number(FieldCount)));
    }
}

void Game::loadgame(const QString &gamefile)
{
    levelfile = gamefile;
    // A level that fails half-way is played with what was read before the fault.
    const LevelReader::Result result = LevelReader::readFile(gamefile);
    const Level &level = result.level;
    locations = level.records;
    itemnames = level.items;
    carried.fill(false);
    combos.fill(Combo());
    for (qsizetype row = 0; row < level.combos.size() && row < ComboRows; ++row)
        combos[row] = level.combos.at(row);
    if (level.start) {
        currow = level.start->row;
        curcol = level.start->col;
    }
    if (!result.ok())
        host.inform(result.error + CrLf + setup.commandLine);
}

void Game::enterlocation()
{
    if (!position().isValid()) {
        throw GameError(QStringLiteral("The level \"%1\" has no start location.")
                            .arg(QDir::toNativeSeparators(levelfile)));
    }
    {
        const QString &here = record();
        const qsizetype bar = here.indexOf(u'|');
        host.append(here.left(bar < 0 ? here.size() : bar) + CrLf);
    }

    if (record().contains(QLatin1String("ENDGAME"))) {
        split(2);
        host.prependLineBreak();
        host.append(field(1) + CrLf);
        if (host.ask(field(2))) {
            current = State::Ended;
            return;
        }
    }

    if (record().contains(QLatin1String("LOADLEVEL")))
        loadLevelAt(record());

    const QString &here = record();
    for (int direction = 0; direction < 4; ++direction) {
        split(FirstDirectionWords + direction);
        if (here.contains(Directions[direction].tag))
            host.append(message(12) + u' ' + field(2) + QStringLiteral(". "));
    }
    for (int item = 0; item < ItemCount; ++item) {
        if (here.contains(itemTag(item)))
            host.append(message(13) + u' ' + itemnames[item] + QStringLiteral(". "));
    }
}

void Game::loadLevelAt(const QString &here)
{
    static constexpr QLatin1StringView Tag("LOADLEVEL");
    static constexpr QLatin1StringView Comment("COMMENT=");
    const qsizetype tag = here.indexOf(Tag);
    const qsizetype comment = here.indexOf(Comment, tag + Tag.size());
    if (comment < 0) {
        throw GameError(QStringLiteral("The level \"%1\", location %2: the LOADLEVEL line has no \"COMMENT=\" "
                                       "after the level file name, so no level can be loaded.")
                            .arg(QDir::toNativeSeparators(levelfile), position().name()));
    }
    // The tag and one separator, then the path up to the space before COMMENT=.
    const qsizetype pathStart = tag + Tag.size() + 1;
    QString path = here.mid(pathStart, std::max<qsizetype>(0, comment - pathStart));
    if (path.endsWith(u' '))
        path.chop(1);
    const qsizetype textStart = comment + Comment.size();
    const qsizetype bar = here.indexOf(u'|', textStart);
    const QString text = here.mid(textStart, bar < 0 ? -1 : bar - textStart);

    loadgame(levelPathFrom(path));
    host.prependLineBreak();
    host.append(text + u' ' + CrLf);
    if (!position().isValid())
        throw GameError(QStringLiteral("The level \"%1\" has no start location.").arg(QDir::toNativeSeparators(levelfile)));
}

QString Game::levelPathFrom(const QString &named) const
{
    // Levels that chain to each other lie together; when the player was not
    // started in their folder, the name is meant from the level naming it.
    if (named.isEmpty() || QFileInfo::exists(named) || QDir::isAbsolutePath(named))
        return named;
    const QString beside = QFileInfo(levelfile).dir().filePath(named);
    return QFileInfo(beside).isFile() ? beside : named;
}

void Game::usermove(const QString &command)
{
    const QString key = command.toUpper();
    host.clear();
    bool handled = false;
    // Each list is copied: running a command splits other messages.
    auto exactly = [&](int list, auto run) {
        split(list);
        const Fields words = fields;
        for (const QString &word : words) {
            if (!handled && !word.isEmpty() && key == word) {
                run(word);
                handled = true;
            }
        }
    };
    auto startingWith = [&](int list, auto run) {
        split(list);
        const Fields words = fields;
        for (const QString &word : words) {
            if (!handled && !word.isEmpty() && key.startsWith(word)) {
                run(word);
                handled = true;
            }
        }
    };

    for (int direction = 0; direction < 4; ++direction)
        exactly(FirstDirectionWords + direction, [&](const QString &) { go(direction); });

    split(25);
    const Fields quitWords = fields;
    for (const QString &word : quitWords) {
        if (!handled && !word.isEmpty() && key == word) {
            if (host.ask(message(27)))
                current = State::Ended;
            else
                host.append(message(14) + CrLf);
            return;
        }
    }

    startingWith(19, [&](const QString &word) { drop(key.mid(word.size())); });
    startingWith(20, [&](const QString &word) { take(key.mid(word.size())); });
    startingWith(22, [&](const QString &) { combine(command); });
    exactly(23, [&](const QString &word) { showHelp(word); });
    exactly(24, [&](const QString &) { showInventory(); });

    split(1);
    if (!handled)
        host.append(field(1) + QStringLiteral(" '") + command + QStringLiteral("'. ") + field(2) + CrLf);
}

void Game::go(int direction)
{
    const Direction &way = Directions[direction];
    const QString &here = record();
    if (!here.contains(way.tag)) {
        host.append(message(11) + CrLf);
        return;
    }
    const QString requirement = QString(way.tag) + QLatin1String(" REQUIRES=");
    const qsizetype at = here.indexOf(requirement);
    if (at >= 0) {
        const qsizetype letter = at + requirement.size();
        const qsizetype bar = here.indexOf(u'|', letter + 1);
        const QString lockout = here.mid(letter + 1, bar < 0 ? -1 : bar - letter - 1);
        if (!entercheck(here.mid(letter, 1), lockout))
            return;
    }
    // A path on the edge of the map that points outwards leads nowhere.
    const GridRef next{currow + way.rowStep, curcol + way.colStep};
    if (!next.isValid()) {
        host.append(message(11) + CrLf);
        return;
    }
    currow = next.row;
    curcol = next.col;
}

bool Game::entercheck(const QString &reqitem, const QString &reqmsg)
{
    const int item = itemOf(reqitem);
    if (item < 0)
        return false;
    if (carried[item])
        return true;
    host.append(LevelFormat::trimSpaces(reqmsg) + CrLf);
    return false;
}

void Game::take(QString itemname)
{
    itemname = LevelFormat::trimSpaces(itemname);
    const QString wanted = itemname.toUpper();
    bool found = false;
    QString &here = record();
    for (int item = 0; item < ItemCount; ++item) {
        const QString tag = itemTag(item);
        if (itemnames[item].toUpper() == wanted && here.contains(tag)) {
            host.append(message(5) + u' ' + itemname.toLower() + u'.' + CrLf);
            here.remove(tag);
            carried[item] = true;
            found = true;
        }
    }
    split(3);
    if (!found && !itemname.isEmpty())
        host.append(field(1) + QStringLiteral(" '") + itemname.toLower() + QStringLiteral("' ") + field(2) + CrLf);
    if (!found && itemname.isEmpty())
        host.append(message(4) + CrLf);
}

void Game::drop(QString itemname)
{
    itemname = LevelFormat::trimSpaces(itemname);
    const QString wanted = itemname.toUpper();
    bool found = false;
    for (int item = 0; item < ItemCount; ++item) {
        if (itemnames[item].toUpper() == wanted && carried[item]) {
            split(6);
            host.append(field(1) + u' ' + itemname.toLower() + u' ' + field(2) + CrLf);
            record() += itemTag(item) + u'|';
            carried[item] = false;
            found = true;
        }
    }
    split(7);
    if (!found && !itemname.isEmpty())
        host.append(field(1) + QStringLiteral(" '") + itemname.toLower() + QStringLiteral("' ") + field(2) + CrLf);
    if (!found && itemname.isEmpty())
        host.append(message(8) + CrLf);
}

void Game::combine(const QString &usercommand)
{
    // Every word of the command is tried against the names of the carried
    // items, so the words around the two names do not matter.
    struct Operand
    {
        int item;
        QString word;
    };
    QList<Operand> operands;
    QString word;
    for (const QChar c : usercommand + u' ') {
        if (c != u' ') {
            word += c;
            continue;
        }
        // Two spaces in a row leave an empty word, which names nothing.
        if (!word.isEmpty()) {
            const QString upper = word.toUpper();
            for (int item = 0; item < ItemCount; ++item) {
                if (carried[item] && itemnames[item].toUpper().contains(upper))
                    operands.append({item, upper});
            }
        }
        word.clear();
    }

    const QString trimmed = LevelFormat::trimSpaces(usercommand);
    if (operands.size() != 2) {
        split(10);
        host.append(field(1) + QStringLiteral(" '") + trimmed + QStringLiteral("' ") + field(3) + CrLf);
        return;
    }

    const Operand first = operands.at(0);
    const Operand second = operands.at(1);
    const QString a(QChar(u'A' + first.item));
    const QString b(QChar(u'A' + second.item));
    bool found = false;
    for (const Combo &rule : combos) {
        const QString one = rule.first.toUpper();
        const QString other = rule.second.toUpper();
        if (!((one == a && other == b) || (one == b && other == a)))
            continue;
        if (first.item != second.item) {
            split(9);
            host.append(field(1) + u' ' + first.word.toLower() + u' ' + field(2) + u' ' + second.word.toLower() + u' '
                        + field(3) + u' ');
            carried[first.item] = false;
            carried[second.item] = false;
            QString name;
            const int result = itemOf(rule.result.toUpper());
            if (result >= 0) {
                carried[result] = true;
                name = itemnames[result];
            }
            host.append(name + u'.' + CrLf);
        } else {
            split(10);
            host.append(field(1) + QStringLiteral(" '") + trimmed + QStringLiteral("' ") + field(2) + CrLf);
        }
        found = true;
    }
    // No message of its own: the refusal starts as the other refusals do, with
    // the combination-refused text in the player's language.
    if (!found) {
        split(10);
        host.append(field(1) + QStringLiteral(" '") + trimmed + QStringLiteral("' .") + CrLf);
    }
}

void Game::showHelp(const QString &word)
{
    auto list = [this](int n) { return QString(message(n)).replace(u'|', QStringLiteral(", ")); };
    QString text = word + u':' + CrLf;
    for (const int n : {23, 24, 15, 16, 17, 18})
        text += list(n) + CrLf;
    text += list(20) + QStringLiteral(" __________") + CrLf;
    text += list(19) + QStringLiteral(" __________") + CrLf;
    text += list(22) + QStringLiteral(" __________ ") + QString(message(21)).replace(u'/', QStringLiteral(", "))
        + QStringLiteral(" __________.") + CrLf;
    text += list(25) + CrLf + CrLf;
    host.append(text);
}

void Game::showInventory()
{
    QString text = message(26) + CrLf;
    for (int item = 0; item < ItemCount; ++item) {
        if (carried[item])
            text += itemnames[item] + CrLf;
    }
    host.append(text + CrLf);
}
