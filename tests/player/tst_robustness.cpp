// SPDX-License-Identifier: MIT
#include "game.h"
#include "gamefiles.h"
#include "recordinghost.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// Feeds the engine damaged and random level and language files and random
// lines, seeded so a failure can be repeated. Built with the sanitizers, any
// memory fault or undefined behaviour on the way fails the test.
class TestRobustness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomInput();

private:
    QByteArray randomBytes(int most);
    // The text with a few bytes changed, inserted or removed, often ones the
    // formats give a meaning to.
    QByteArray damaged(QByteArray bytes);
    QByteArray language();
    QByteArray level(const QByteArray &intact);
    QString line();

    QRandomGenerator random{20261207};
};

namespace {

const QByteArray Special = "|[]~> +=\r\n\t\"ACEIS";
const QStringList Words{"n", "s", "e", "w", "EAST", "take rope", "take hook", "get lamp", "take ", "drop rope",
                        "put ", "combine rope hook", "use oil pebble", "combine  rope  hook", "combine brass key",
                        "i", "?", "q", "", " ", "x>e", "take stone"};

} // namespace

QByteArray TestRobustness::randomBytes(int most)
{
    QByteArray bytes(random.bounded(most + 1), '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QByteArray TestRobustness::damaged(QByteArray bytes)
{
    for (int changes = random.bounded(1, 8); changes > 0; --changes) {
        const int at = bytes.isEmpty() ? 0 : random.bounded(int(bytes.size()));
        const char byte = random.bounded(2) ? Special.at(random.bounded(int(Special.size())))
                                            : char(random.bounded(256));
        switch (random.bounded(3)) {
        case 0:
            bytes.insert(at, byte);
            break;
        case 1:
            if (!bytes.isEmpty())
                bytes[at] = byte;
            break;
        default:
            bytes.remove(at, random.bounded(1, 20));
        }
    }
    return bytes;
}

QByteArray TestRobustness::language()
{
    switch (random.bounded(4)) {
    case 0:
        return randomBytes(2000);
    case 1:
        return GameFiles::language({{"English", GameFiles::english()}});
    case 2:
        return damaged(GameFiles::language({{"English", GameFiles::english()}, {"Two", GameFiles::english()}}));
    default:
        return damaged(GameFiles::language({{"English", GameFiles::english()}}));
    }
}

QByteArray TestRobustness::level(const QByteArray &intact)
{
    switch (random.bounded(3)) {
    case 0:
        return randomBytes(3000);
    case 1:
        return intact;
    default:
        return damaged(intact);
    }
}

QString TestRobustness::line()
{
    if (random.bounded(4) == 0)
        return QString::fromLatin1(randomBytes(40));
    QString text = Words.at(random.bounded(int(Words.size())));
    if (random.bounded(4) == 0)
        text.insert(random.bounded(int(text.size()) + 1), QChar(Special.at(random.bounded(int(Special.size())))));
    return text;
}

void TestRobustness::randomInput()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    int stopped = 0;
    int played = 0;
    for (int round = 0; round < 3000; ++round) {
        const QString levelPath = GameFiles::write(dir.path(), "a.qw", level(GameFiles::adventure()));
        GameFiles::write(dir.path(), "field.qw", level(GameFiles::field()));
        const QString languagePath = GameFiles::write(dir.path(), "Language.txt", language());
        const std::string commandLine = random.bounded(10) ? levelPath.toStdString() : randomBytes(10).toStdString();

        RecordingHost host;
        for (int i = 0; i < 20; ++i)
            host.answers.append(random.bounded(4) == 0);
        Game game(host, {commandLine, levelPath.toStdString(), languagePath.toStdString()});
        game.start();
        host.answerQuestions(game);
        for (int turn = random.bounded(40); turn > 0 && game.waiting(); --turn) {
            host.console += line() + "\r\n";
            game.enter(toText(host.console));
            host.answerQuestions(game);
            ++played;
        }
        if (game.state() == Game::State::Stopped) {
            ++stopped;
            QVERIFY(!game.stopMessage().empty());
        }
        QVERIFY(game.state() != Game::State::Starting);
    }
    // Both the games that ran and the faults they met were reached.
    QVERIFY(stopped > 100);
    QVERIFY(played > 10000);
}

QTEST_GUILESS_MAIN(TestRobustness)
#include "tst_robustness.moc"
