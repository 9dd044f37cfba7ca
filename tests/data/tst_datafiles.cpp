// SPDX-License-Identifier: MIT
#include "leveldocument.h"
#include "levelreader.h"
#include "levelwriter.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

const QString DataDir = QStringLiteral(QUILLMOOR_SOURCE_DIR "/data");
const QString BinDir = QStringLiteral(QUILLMOOR_BIN_DIR);
const QStringList Levels{"QUILLMOOR.qw", "SCRIPTORIUM.qw"};
const QStringList Translations{"languages/Deutsch.txt", "languages/Francais.txt", "languages/Espanol.txt"};
const QString AllLanguages = QStringLiteral("languages/all.txt");

// Message numbers (1-based) of the lists the player compares commands with.
const QList<int> Directions{15, 16, 17, 18};
const QList<int> PrefixLists{19, 20, 22}; // drop, take, combine: matched at the start
const QList<int> ExactLists{15, 16, 17, 18, 25, 23, 24}; // directions, quit, help, inventory
// How many fields each split sentence must have: the player prints them all.
const QMap<int, int> SentenceFields{{1, 2}, {2, 2}, {3, 2}, {6, 2}, {7, 2}, {9, 3}, {10, 3}};
const QList<int> WholeMessages{4, 5, 8, 11, 12, 13, 14, 21, 26, 27};
// Words that act as tags wherever they stand in a location.
const QStringList TagWords{"PATH ", "ITEM ", "START", "ENDGAME", "LOADLEVEL", "COMMENT=", "REQUIRES="};

struct Language
{
    QString name;
    QStringList messages; // messages 1 to 27 at 0 to 26
    QStringList fields(int message) const { return messages.at(message - 1).split(u'|'); }
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The blocks of a language file by the player's rules, or an error.
std::optional<QList<Language>> readLanguages(const QString &path, QString *error)
{
    const QByteArray bytes = readBytes(path);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    if (bytes.isEmpty())
        return fail(QStringLiteral("missing or empty"));
    if (utf8.hasError() || bytes.startsWith("\xef\xbb\xbf"))
        return fail(QStringLiteral("not UTF-8 without a byte-order mark"));
    if (!text.endsWith(QLatin1String("\r\n")) || text.count(u'\n') != text.count(QLatin1String("\r\n"))
        || text.count(u'\r') != text.count(u'\n'))
        return fail(QStringLiteral("some line does not end in CR LF"));

    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    QList<Language> languages;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).startsWith(u'['))
            continue;
        if (i + 27 >= lines.size())
            return fail(QStringLiteral("line %1: the block is cut short").arg(i + 1));
        Language language{lines.at(i).mid(1).remove(u']'), lines.mid(i + 1, 27)};
        i += 27;
        // Whatever follows a block must be visibly apart from it, or a
        // message line was added or lost.
        if (i + 1 < lines.size() && !lines.at(i + 1).isEmpty())
            return fail(QStringLiteral("line %1: the block of %2 is not followed by an empty line")
                            .arg(i + 2)
                            .arg(language.name));
        languages.append(language);
    }
    return languages;
}

QList<Language> languagesOf(const QString &file)
{
    QString error;
    const auto languages = readLanguages(DataDir + u'/' + file, &error);
    if (!languages)
        qWarning("%s: %s", qPrintable(file), qPrintable(error));
    return languages.value_or(QList<Language>{});
}

// The words of a command list as the player compares them; a direction's
// second field is its display name and never typed.
QStringList commandWords(const Language &language, int message)
{
    QStringList words = language.fields(message);
    if (Directions.contains(message))
        words.removeAt(1);
    return words;
}

QStringList recordPieces(const Level &level, GridRef ref) { return level.record(ref).split(u'|'); }

// Narratives, lockout texts and load comments: the texts a player reads.
QStringList prose(const QStringList &pieces)
{
    QStringList texts{pieces.first()};
    for (const QString &piece : pieces) {
        if (piece.contains(QLatin1String(" REQUIRES=")))
            texts.append(piece.mid(18));
        if (piece.startsWith(QLatin1String("LOADLEVEL ")))
            texts.append(piece.mid(piece.indexOf(QLatin1String(" COMMENT=")) + 9));
    }
    return texts;
}

Level readLevel(const QString &name)
{
    const LevelReader::Result result = LevelReader::readFile(DataDir + u'/' + name);
    if (!result.ok())
        qWarning("%s", qPrintable(result.error));
    return result.level;
}

// The words a player of this language types around the item names of a
// combine command: the combine words, the connectors the help shows, and the
// words the confirmation puts right before the first name and between the two
// ("You combine the|with the|..."), which players echo. A word of one letter
// is too short to keep out of names.
QStringList wordsAroundNames(const Language &language)
{
    QStringList words = commandWords(language, 22) + language.messages.at(20).split(u'/');
    const QStringList confirmation = language.fields(9);
    const QStringList lead = confirmation.at(0).split(u' ', Qt::SkipEmptyParts);
    if (!lead.isEmpty())
        words += lead.last();
    if (confirmation.size() > 1)
        words += confirmation.at(1).split(u' ', Qt::SkipEmptyParts);
    QStringList kept;
    for (const QString &word : std::as_const(words)) {
        const QString upper = word.trimmed().toUpper();
        if (upper.size() >= 2 && !kept.contains(upper))
            kept.append(upper);
    }
    return kept;
}

} // namespace

// The shipped languages and levels: the form the player and the studio read,
// and the things that would make a level unplayable or a command unreachable.
class TestDataFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levelWrittenAsStudioWrites_data();
    void levelWrittenAsStudioWrites();
    void levelIsSound_data();
    void levelIsSound();
    void adventureReachesItsEnd();
    void languageFile_data();
    void languageFile();
    void allLanguagesMatchTheirFiles();
    void itemNamesDoNotSwallowWords();
    void copiesBesideThePrograms_data();
    void copiesBesideThePrograms();
};

void TestDataFiles::levelWrittenAsStudioWrites_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : Levels)
        QTest::newRow(qPrintable(name)) << name;
}

void TestDataFiles::levelWrittenAsStudioWrites()
{
    QFETCH(QString, name);
    const QByteArray bytes = readBytes(DataDir + u'/' + name);
    QVERIFY(!bytes.isEmpty());
    const LevelReader::Result result = LevelReader::read(bytes, name);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(LevelWriter::write(result.level), bytes);
    // The studio itself: opened and saved at once, the file stays the same.
    LevelDocument document;
    QCOMPARE(document.loadgame(DataDir + u'/' + name), QString());
    QTemporaryDir dir;
    document.levelfile = dir.filePath(name);
    QVERIFY(document.save().saved);
    QCOMPARE(readBytes(document.levelfile), bytes);
    // The readers number items by their lines; a gap would shift the names.
    const auto &items = result.level.items;
    const auto named = std::count_if(items.begin(), items.end(), [](const QString &n) { return !n.isEmpty(); });
    for (int i = 0; i < named; ++i)
        QVERIFY2(!items[i].isEmpty(), qPrintable(QStringLiteral("item %1 has no name").arg(QChar(u'A' + i))));
}

void TestDataFiles::levelIsSound_data()
{
    levelWrittenAsStudioWrites_data();
}

void TestDataFiles::levelIsSound()
{
    QFETCH(QString, name);
    const Level level = readLevel(name);
    const QList<std::pair<QChar, GridRef>> steps{{u'N', {-1, 0}}, {u'S', {1, 0}}, {u'E', {0, 1}}, {u'W', {0, -1}}};
    const QHash<QChar, QChar> opposite{{u'N', u'S'}, {u'S', u'N'}, {u'E', u'W'}, {u'W', u'E'}};
    int starts = 0;
    std::array<bool, Level::ItemCount> available{};

    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef here = GridRef::fromIndex(i);
        if (level.record(here).isEmpty())
            continue;
        const QString where = name + u' ' + here.name() + QStringLiteral(": ");
        const QStringList pieces = recordPieces(level, here);
        for (const QString &text : prose(pieces)) {
            for (const QString &tag : TagWords)
                QVERIFY2(!text.contains(tag), qPrintable(where + QStringLiteral("\"%1\" in \"%2\"").arg(tag, text)));
        }
        for (const QString &piece : pieces.mid(1)) {
            if (piece.isEmpty())
                continue;
            if (piece == QLatin1String("START")) {
                ++starts;
            } else if (piece.startsWith(QLatin1String("ITEM "))) {
                const int item = piece.at(5).unicode() - u'A';
                QVERIFY2(piece.size() == 6 && item >= 0 && item < Level::ItemCount && !level.items[item].isEmpty(),
                         qPrintable(where + piece));
                available[item] = true;
            } else if (piece.startsWith(QLatin1String("PATH "))) {
                const QChar direction = piece.at(5);
                const auto step = std::find_if(steps.begin(), steps.end(),
                                               [direction](const auto &s) { return s.first == direction; });
                QVERIFY2(step != steps.end(), qPrintable(where + piece));
                const GridRef there{here.row + step->second.row, here.col + step->second.col};
                QVERIFY2(there.isValid(), qPrintable(where + piece + QStringLiteral(" leaves the map")));
                QVERIFY2(!level.record(there).isEmpty(), qPrintable(where + piece + QStringLiteral(" leads nowhere")));
                QVERIFY2(level.record(there).contains(QStringLiteral("PATH ") + opposite[direction]),
                         qPrintable(where + piece + QStringLiteral(" has no way back")));
                // A lock that needs the item both ways keeps the item on the
                // player's side: dropped beyond it, it could never be fetched.
                const QString back = QStringLiteral("PATH ") + opposite[direction] + QStringLiteral(" REQUIRES=");
                const qsizetype lock = level.record(there).indexOf(back);
                QVERIFY2((piece.size() > 6) == (lock >= 0)
                             && (lock < 0 || level.record(there).at(lock + back.size()) == piece.at(16)),
                         qPrintable(where + piece + QStringLiteral(" is not locked alike both ways")));
                if (piece.size() > 6) {
                    QVERIFY2(piece.mid(7, 9) == QLatin1String("REQUIRES="), qPrintable(where + piece));
                    const int item = piece.at(16).unicode() - u'A';
                    QVERIFY2(item >= 0 && item < Level::ItemCount && !level.items[item].isEmpty(),
                             qPrintable(where + piece));
                    QVERIFY2(piece.size() > 18, qPrintable(where + piece + QStringLiteral(" gives no reason")));
                }
            } else if (piece.startsWith(QLatin1String("LOADLEVEL "))) {
                const QString file = piece.mid(10, piece.indexOf(QLatin1String(" COMMENT=")) - 10);
                QVERIFY2(Levels.contains(file), qPrintable(where + piece + QStringLiteral(" names no shipped level")));
            } else {
                QVERIFY2(piece == QLatin1String("ENDGAME"), qPrintable(where + QStringLiteral("unknown line ") + piece));
            }
        }
    }
    QCOMPARE(starts, 1);

    // Every item can be had: it lies somewhere or is made from others.
    for (const Combo &rule : level.combos) {
        for (const QString &letter : {rule.first, rule.second, rule.result})
            QVERIFY2(!level.items[letter.at(0).unicode() - u'A'].isEmpty(), qPrintable(name + u' ' + letter));
        available[rule.result.at(0).unicode() - u'A'] = true;
    }
    for (int i = 0; i < Level::ItemCount; ++i) {
        if (!level.items[i].isEmpty())
            QVERIFY2(available[i], qPrintable(name + QStringLiteral(": nobody can get ") + level.items[i]));
    }
}

void TestDataFiles::adventureReachesItsEnd()
{
    // The chain of levels from the bundled adventure ends in a won game.
    QString name = Levels.first();
    QStringList seen;
    while (!seen.contains(name)) {
        seen.append(name);
        const Level level = readLevel(name);
        const auto ending = std::find_if(level.records.begin(), level.records.end(),
                                         [](const QString &r) { return r.contains(QLatin1String("|ENDGAME|")); });
        if (ending != level.records.end())
            return;
        const auto loader = std::find_if(level.records.begin(), level.records.end(),
                                         [](const QString &r) { return r.contains(QLatin1String("|LOADLEVEL ")); });
        QVERIFY2(loader != level.records.end(), qPrintable(name + QStringLiteral(" neither ends nor goes on")));
        const qsizetype from = loader->indexOf(QLatin1String("|LOADLEVEL ")) + 11;
        name = loader->mid(from, loader->indexOf(QLatin1String(" COMMENT="), from) - from);
    }
    QFAIL(qPrintable(QStringLiteral("the levels load each other in a circle: ") + seen.join(u' ')));
}

void TestDataFiles::languageFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("blocks");
    QTest::newRow("Language.txt") << "Language.txt" << 1;
    for (const QString &file : Translations)
        QTest::newRow(qPrintable(file)) << file << 1;
    QTest::newRow("all.txt") << AllLanguages << int(Translations.size() + 1);
}

void TestDataFiles::languageFile()
{
    QFETCH(QString, file);
    QFETCH(int, blocks);
    QString error;
    const auto languages = readLanguages(DataDir + u'/' + file, &error);
    QVERIFY2(languages, qPrintable(error));
    QCOMPARE(languages->size(), blocks);

    for (const Language &language : *languages) {
        auto where = [&language](int message) {
            return QStringLiteral("%1, message %2: \"%3\"")
                .arg(language.name)
                .arg(message)
                .arg(language.messages.at(message - 1));
        };
        for (int message = 1; message <= 27; ++message)
            QVERIFY2(!language.messages.at(message - 1).trimmed().isEmpty(), qPrintable(where(message)));
        for (auto it = SentenceFields.begin(); it != SentenceFields.end(); ++it) {
            const QStringList fields = language.fields(it.key());
            QVERIFY2(fields.size() == it.value(), qPrintable(where(it.key())));
            for (const QString &field : fields)
                QVERIFY2(!field.trimmed().isEmpty() && field == field.trimmed(), qPrintable(where(it.key())));
        }
        for (int message : WholeMessages)
            QVERIFY2(!language.messages.at(message - 1).contains(u'|'), qPrintable(where(message)));
        for (const QString &connector : language.messages.at(20).split(u'/'))
            QVERIFY2(!connector.isEmpty() && connector == connector.toUpper(), qPrintable(where(21)));
        for (int message : Directions)
            QVERIFY2(language.fields(message).size() >= 2 && !language.fields(message).at(1).trimmed().isEmpty(),
                     qPrintable(where(message)));

        // Every word can be typed and reached: upper case (what the user
        // types is upper-cased), unique among the whole-word lists, and not
        // swallowed by a word matched at the start of a command.
        QStringList exact;
        for (int message : ExactLists) {
            const QStringList words = commandWords(language, message);
            QVERIFY2(words.size() <= 30, qPrintable(where(message)));
            for (const QString &word : words) {
                QVERIFY2(!word.isEmpty() && word == word.toUpper() && word == word.trimmed(), qPrintable(where(message)));
                QVERIFY2(!exact.contains(word), qPrintable(where(message)));
                exact.append(word);
            }
        }
        QStringList earlier;
        for (int message : PrefixLists) {
            const QStringList words = commandWords(language, message);
            QVERIFY2(words.size() <= 30, qPrintable(where(message)));
            for (const QString &word : words) {
                QVERIFY2(word.trimmed().size() > 1 && word == word.toUpper() && !word.startsWith(u' '),
                         qPrintable(where(message)));
                for (const QString &before : earlier)
                    QVERIFY2(!word.startsWith(before), qPrintable(where(message)));
                earlier.append(word);
            }
        }
        for (int message : {23, 24}) {
            for (const QString &word : commandWords(language, message)) {
                for (const QString &prefix : earlier)
                    QVERIFY2(!word.startsWith(prefix), qPrintable(where(message)));
            }
        }
    }
}

void TestDataFiles::allLanguagesMatchTheirFiles()
{
    // The menu file holds English first, then each translation as shipped.
    const QList<Language> all = languagesOf(AllLanguages);
    QList<Language> single = languagesOf(QStringLiteral("Language.txt"));
    for (const QString &file : Translations)
        single += languagesOf(file);
    QCOMPARE(all.size(), single.size());
    QCOMPARE(all.first().name, QStringLiteral("English"));
    for (const Language &language : single) {
        const auto same = std::find_if(all.begin(), all.end(),
                                       [&language](const Language &l) { return l.name == language.name; });
        QVERIFY2(same != all.end(), qPrintable(language.name));
        QCOMPARE(same->messages, language.messages);
    }
}

void TestDataFiles::itemNamesDoNotSwallowWords()
{
    // A combine command names its items by any word that occurs inside a
    // carried item's name (upper-cased, as the player compares them), so the
    // words typed around names must not, in any shipped language, and one
    // name must not hold another that can be carried with it.
    QStringList words;
    for (const QString &file : QStringList{"Language.txt"} + Translations) {
        for (const Language &language : languagesOf(file))
            words += wordsAroundNames(language);
    }
    QVERIFY(words.contains("THE") && words.contains("WITH") && words.contains("AND") && words.contains("ET"));
    for (const QString &name : Levels) {
        const Level level = readLevel(name);
        for (int i = 0; i < Level::ItemCount; ++i) {
            const QString item = level.items[i].toUpper();
            if (item.isEmpty())
                continue;
            QVERIFY2(!item.contains(u' '), qPrintable(item));
            for (const QString &word : words)
                QVERIFY2(!item.contains(word), qPrintable(QStringLiteral("%1: %2 holds %3").arg(name, item, word)));
            for (int j = 0; j < Level::ItemCount; ++j) {
                const QString other = level.items[j].toUpper();
                const QString a(QChar(u'A' + i));
                const QString b(QChar(u'A' + j));
                // Made from it: the ingredient is gone once the result exists.
                const bool madeFrom = std::any_of(level.combos.begin(), level.combos.end(), [&](const Combo &c) {
                    return c.result == a && (c.first == b || c.second == b);
                });
                if (i != j && !other.isEmpty() && !madeFrom)
                    QVERIFY2(!item.contains(other), qPrintable(QStringLiteral("%1 holds %2").arg(item, other)));
            }
        }
    }
}

void TestDataFiles::copiesBesideThePrograms_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : Levels + Translations + QStringList{"Language.txt", AllLanguages})
        QTest::newRow(qPrintable(file)) << file;
}

void TestDataFiles::copiesBesideThePrograms()
{
    QFETCH(QString, file);
    const QByteArray copy = readBytes(BinDir + u'/' + file);
    QVERIFY2(!copy.isEmpty(), qPrintable(QStringLiteral("%1 is not beside the programs").arg(file)));
    QCOMPARE(copy, readBytes(DataDir + u'/' + file));
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
