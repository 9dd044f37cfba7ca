// SPDX-License-Identifier: MIT
// Plays a game in the real player window, on the offscreen platform, and
// prints as JSON what the window showed each time it waited: the console's
// text, and the question or message open then. The web page's test plays the
// same lines in the page and compares.
//   windowconsole LEVEL LANGUAGE INPUT
// Each line of INPUT is typed into the console and Enter pressed, or, while
// a question is open, answers it: a line beginning with y or Y is Yes.
#include "platform.h"
#include "playerwindow.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QQueue>
#include <QTest>

#include <cstdio>

namespace {

class TranscriptPlatform : public Platform
{
public:
    // The console of the window being played, read when a box opens.
    QPlainTextEdit *console = nullptr;
    QQueue<QString> lines;
    QJsonArray waits;

    void record(const QString &state, const QString &key = {}, const QString &text = {})
    {
        QJsonObject wait{{"state", state}, {"console", console->toPlainText()}};
        if (!key.isEmpty())
            wait.insert(key, text);
        waits.append(wait);
    }

    void inform(QWidget *, const QString &text) override { record("informing", "message", text); }
    bool ask(QWidget *, const QString &text) override
    {
        record("asking", "question", text);
        const QString answer = lines.isEmpty() ? QString() : lines.dequeue();
        return answer.startsWith('y') || answer.startsWith('Y');
    }
    Answer askOrCancel(QWidget *, const QString &) override { return Answer::Cancel; }
    QString openFile(QWidget *, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    bool startProgram(const QString &, const QStringList &, QString *) override { return false; }
    QString programFolder() const override { return {}; }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: windowconsole LEVEL LANGUAGE INPUT\n", stderr);
        return 2;
    }
    QFile input(arguments.at(3));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "windowconsole: cannot read %s\n", qPrintable(arguments.at(3)));
        return 2;
    }
    TranscriptPlatform platform;
    for (QString line : QString::fromUtf8(input.readAll()).split('\n')) {
        line.remove('\r');
        platform.lines.enqueue(line);
    }
    if (platform.lines.last().isEmpty())
        platform.lines.removeLast();

    const std::string level = arguments.at(1).toStdString();
    PlayerWindow window(platform, Game::Setup{level, level, arguments.at(2).toStdString()});
    platform.console = window.findChild<QPlainTextEdit *>("Text1");
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    // The game starts once the window has shown.
    for (int waited = 0; platform.console->toPlainText().isEmpty() && window.isVisible(); waited += 10) {
        if (waited > 10000)
            return 2;
        QTest::qWait(10);
    }

    for (;;) {
        if (!window.isVisible()) {
            platform.record("ended");
            break;
        }
        if (platform.console->isReadOnly()) {
            // The window told the stopping error in its last message box.
            const QJsonObject told = platform.waits.last().toObject();
            platform.waits.removeLast();
            platform.record("stopped", "message", told.value("message").toString());
            break;
        }
        platform.record("waiting");
        if (platform.lines.isEmpty())
            break;
        for (const QChar c : platform.lines.dequeue()) {
            if (c.unicode() < 128)
                QTest::keyClick(platform.console, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, platform.console, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QTest::keyClick(platform.console, Qt::Key_Return);
    }
    std::fputs(QJsonDocument(platform.waits).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
