// SPDX-License-Identifier: MIT
#include "commandtable.h"
#include "leveldocument.h"
#include "levelreader.h"
#include "levelwriter.h"
#include "qtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

const QString DataDir = QStringLiteral(QUILLMOOR_SOURCE_DIR "/data");
const QString BinDir = QStringLiteral(QUILLMOOR_BIN_DIR);
// The bundled adventure first; the guide's example game in its own folder.
const QStringList Levels{"QUILLMOOR.qw", "SCRIPTORIUM.qw", "example/LIGHTHOUSE.qw", "example/LAMPROOM.qw"};
const QStringList Translations{"languages/Deutsch.txt", "languages/Francais.txt", "languages/Espanol.txt"};
const QString AllLanguages = QStringLiteral("languages/all.txt");

// How many fields each split sentence must have: the player prints them all.
const QMap<Message, int> SentenceFields{{Message::NotUnderstood, 2}, {Message::GameWon, 2}, {Message::NotHere, 2},
                                        {Message::Dropped, 2},       {Message::NotCarried, 2}, {Message::Combined, 3},
                                        {Message::CannotCombine, 3}};
const QList<Message> WholeMessages{Message::TakeWhat,     Message::Taken,    Message::DropWhat,
                                   Message::NoWay,        Message::ExitHere, Message::ItemHere,
                                   Message::QuitDeclined, Message::Connectors, Message::InventoryHeading,
                                   Message::QuitQuestion};
// Words that act as tags wherever they stand in a location.
const QStringList TagWords{"PATH ", "ITEM ", "START", "ENDGAME", "LOADLEVEL", "COMMENT=", "REQUIRES="};

struct Language
{
    QString name;
    QStringList messages; // messages 1 to 27 at 0 to 26
    const QString &message(Message m) const { return messages.at(int(m) - 1); }
    QStringList fields(Message m) const { return message(m).split(u'|'); }
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
QStringList commandWords(const Language &language, const CommandTable::List &list)
{
    QStringList words = language.fields(list.words);
    if (int(list.command) < int(Directions.size()))
        words.removeAt(1);
    return words;
}

Level readLevel(const QString &name)
{
    const LevelReader::Result result = LevelReader::readFile((DataDir + u'/' + name).toStdString());
    if (!result.ok())
        qWarning("%s", result.error.c_str());
    return result.level;
}

// The record the area editor writes for what this record says: what a level
// holds beyond it would be a line the studio never writes.
LocationRecord recomposed(const LocationRecord &record)
{
    LocationRecord::Contents contents;
    contents.narrative = Text(record.narrative());
    for (Direction d : Directions) {
        const auto requirement = record.requirement(d);
        contents.paths[int(d)] = {record.hasPath(d), requirement ? requirement->letter : 0,
                                  requirement ? Text(requirement->lockout) : Text()};
    }
    std::vector<std::pair<std::size_t, int>> items;
    for (int item = 0; item < Level::ItemCount; ++item) {
        if (record.holdsItem(item))
            items.push_back({record.text().find(LocationRecord::itemTag(item)), item});
    }
    std::sort(items.begin(), items.end());
    for (const auto &[at, item] : items)
        contents.items.push_back(item);
    contents.kind = record.editorKind(LocationRecord::Kind::Normal);
    const LocationRecord::LevelLoad load = record.editorLevelLoad();
    contents.levelFile = load.file;
    contents.levelComment = load.comment;
    return LocationRecord::compose(contents);
}

// The words a player of this language types around the item names of a
// combine command: the combine words, the connectors the help shows, and the
// words the confirmation puts right before the first name and between the two
// ("You combine the|with the|..."), which players echo. A word of one letter
// is too short to keep out of names.
QStringList wordsAroundNames(const Language &language)
{
    QStringList words = commandWords(language, CommandTable::list(CommandTable::Command::Combine))
        + language.message(Message::Connectors).split(u'/');
    const QStringList confirmation = language.fields(Message::Combined);
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
    const LevelReader::Result result = LevelReader::read(bytes.toStdString(), name.toStdString());
    QVERIFY2(result.ok(), result.error.c_str());
    QCOMPARE(QByteArray::fromStdString(LevelWriter::write(result.level)), bytes);
    // The studio itself: opened and saved at once, the file stays the same.
    LevelDocument document;
    QCOMPARE(document.loadgame(DataDir + u'/' + name), QString());
    QTemporaryDir dir;
    document.levelfile = dir.filePath(QFileInfo(name).fileName());
    QVERIFY(document.save().saved);
    QCOMPARE(readBytes(document.levelfile), bytes);
    // The readers number items by their lines; a gap would shift the names.
    const auto &items = result.level.items;
    const auto named = std::count_if(items.begin(), items.end(), [](const Text &n) { return !n.empty(); });
    for (int i = 0; i < named; ++i)
        QVERIFY2(!items[i].empty(), qPrintable(QStringLiteral("item %1 has no name").arg(QChar(u'A' + i))));
}

void TestDataFiles::levelIsSound_data()
{
    levelWrittenAsStudioWrites_data();
}

void TestDataFiles::levelIsSound()
{
    QFETCH(QString, name);
    const Level level = readLevel(name);
    int starts = 0;
    std::array<bool, Level::ItemCount> available{};

    for (int i = 0; i < Level::LocationCount; ++i) {
        const GridRef here = GridRef::fromIndex(i);
        const LocationRecord &record = level.record(here);
        if (record.isEmpty())
            continue;
        const QString where = name + u' ' + QString::fromStdString(here.name()) + QStringLiteral(": ");
        QVERIFY2(recomposed(record).normalised() == record.normalised(),
                 qPrintable(where + QStringLiteral("holds a line the studio does not write")));

        // Texts a player reads must not hold a word that acts as a tag.
        std::vector<Text> prose{Text(record.narrative())};
        for (Direction d : Directions) {
            if (const auto requirement = record.requirement(d))
                prose.emplace_back(requirement->lockout);
        }
        if (const auto load = record.levelLoad())
            prose.push_back(load->comment);
        for (const Text &text : prose) {
            for (const QString &tag : TagWords)
                QVERIFY2(!toQString(text).contains(tag), qPrintable(where + QStringLiteral("\"%1\" in \"%2\"").arg(tag, toQString(text))));
        }

        if (record.startsForSave())
            ++starts;
        for (int item = 0; item < Level::ItemCount; ++item) {
            if (!record.holdsItem(item))
                continue;
            QVERIFY2(!level.items[item].empty(), qPrintable(where + QStringLiteral("an unnamed item")));
            available[item] = true;
        }
        for (Direction d : Directions) {
            if (!record.hasPath(d))
                continue;
            const QString path = where + QLatin1Char(directionLetter(d)) + QStringLiteral(" path");
            const GridRef there = step(here, d);
            QVERIFY2(there.isValid(), qPrintable(path + QStringLiteral(" leaves the map")));
            const LocationRecord &other = level.record(there);
            QVERIFY2(!other.isEmpty(), qPrintable(path + QStringLiteral(" leads nowhere")));
            const Direction back = Directions[int(d) ^ 1];
            QVERIFY2(other.hasPath(back), qPrintable(path + QStringLiteral(" has no way back")));
            // A lock that needs the item both ways keeps the item on the
            // player's side: dropped beyond it, it could never be fetched.
            const auto lock = record.requirement(d);
            const auto lockBack = other.requirement(back);
            QVERIFY2(bool(lock) == bool(lockBack) && (!lock || lock->letter == lockBack->letter),
                     qPrintable(path + QStringLiteral(" is not locked alike both ways")));
            if (lock) {
                const int item = int(lock->letter) - 'A';
                QVERIFY2(item >= 0 && item < Level::ItemCount && !level.items[item].empty(), qPrintable(path));
                QVERIFY2(!text::isBlank(lock->lockout), qPrintable(path + QStringLiteral(" gives no reason")));
            }
        }
        if (record.loadsLevel()) {
            const auto load = record.levelLoad();
            // Named from the folder of the level that loads it, as the player finds it.
            QVERIFY2(load && Levels.contains(QDir::cleanPath(QFileInfo(name).path() + u'/' + toQString(load->file))),
                     qPrintable(where + QStringLiteral("loads no shipped level")));
        }
    }
    QCOMPARE(starts, 1);

    // Every item can be had: it lies somewhere or is made from others.
    for (const Combo &rule : level.combos) {
        for (char32_t letter : {rule.first, rule.second, rule.result})
            QVERIFY2(letter >= U'A' && letter <= U'Z' && !level.items[letter - U'A'].empty(), qPrintable(name));
        available[rule.result - U'A'] = true;
    }
    for (int i = 0; i < Level::ItemCount; ++i) {
        if (!level.items[i].empty())
            QVERIFY2(available[i], qPrintable(name + QStringLiteral(": nobody can get ") + toQString(level.items[i])));
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
        const auto &records = level.records;
        if (std::any_of(records.begin(), records.end(), [](const LocationRecord &r) { return r.isEnd(); }))
            return;
        const auto loader = std::find_if(records.begin(), records.end(),
                                         [](const LocationRecord &r) { return r.levelLoad().has_value(); });
        QVERIFY2(loader != records.end(), qPrintable(name + QStringLiteral(" neither ends nor goes on")));
        name = toQString(loader->levelLoad()->file);
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
        auto where = [&language](Message message) {
            return QStringLiteral("%1, message %2: \"%3\"")
                .arg(language.name)
                .arg(int(message))
                .arg(language.message(message));
        };
        for (int message = 1; message <= LanguageTable::MessageCount; ++message)
            QVERIFY2(!language.message(Message(message)).trimmed().isEmpty(), qPrintable(where(Message(message))));
        for (auto it = SentenceFields.begin(); it != SentenceFields.end(); ++it) {
            const QStringList fields = language.fields(it.key());
            QVERIFY2(fields.size() == it.value(), qPrintable(where(it.key())));
            for (const QString &field : fields)
                QVERIFY2(!field.trimmed().isEmpty() && field == field.trimmed(), qPrintable(where(it.key())));
        }
        for (Message message : WholeMessages)
            QVERIFY2(!language.message(message).contains(u'|'), qPrintable(where(message)));
        for (const QString &connector : language.message(Message::Connectors).split(u'/'))
            QVERIFY2(!connector.isEmpty() && connector == connector.toUpper(), qPrintable(where(Message::Connectors)));
        for (Direction d : Directions) {
            const QStringList fields = language.fields(directionWords(d));
            QVERIFY2(fields.size() >= 2 && !fields.at(1).trimmed().isEmpty(), qPrintable(where(directionWords(d))));
        }

        // Every word can be typed and reached: upper case (what the user
        // types is upper-cased), unique among the whole-word lists, and not
        // swallowed by a word tried before it that is matched at the start
        // of a command.
        QStringList exact;
        QStringList starts;
        for (const CommandTable::List &list : CommandTable::Lists) {
            const QStringList words = commandWords(language, list);
            QVERIFY2(words.size() <= 30, qPrintable(where(list.words)));
            for (const QString &word : words) {
                QVERIFY2(word == word.toUpper(), qPrintable(where(list.words)));
                if (list.prefix) {
                    QVERIFY2(word.trimmed().size() > 1 && !word.startsWith(u' '), qPrintable(where(list.words)));
                } else {
                    QVERIFY2(!word.isEmpty() && word == word.trimmed(), qPrintable(where(list.words)));
                    QVERIFY2(!exact.contains(word), qPrintable(where(list.words)));
                    exact.append(word);
                }
                for (const QString &before : starts)
                    QVERIFY2(!word.startsWith(before), qPrintable(where(list.words)));
                if (list.prefix)
                    starts.append(word);
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
            const QString item = toQString(level.items[i]).toUpper();
            if (item.isEmpty())
                continue;
            QVERIFY2(!item.contains(u' '), qPrintable(item));
            for (const QString &word : words)
                QVERIFY2(!item.contains(word), qPrintable(QStringLiteral("%1: %2 holds %3").arg(name, item, word)));
            for (int j = 0; j < Level::ItemCount; ++j) {
                const QString other = toQString(level.items[j]).toUpper();
                const char32_t a = U'A' + i;
                const char32_t b = U'A' + j;
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
