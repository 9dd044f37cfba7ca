// SPDX-License-Identifier: MIT
#include "playerwindow.h"

#include "console.h"
#include "gamefileactions.h"
#include "hintasker.h"
#include "platform.h"

#include <QAccessible>
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// Where the console's text size is remembered: the user's settings of the
// player (~/.config/Quillmoor/Player.conf).
const QString Organisation = QStringLiteral("Quillmoor");
const QString Application = QStringLiteral("Player");
const QString FontSizeKey = QStringLiteral("console/fontSize");

int rememberedFontSize()
{
    bool number = false;
    const int points = QSettings(Organisation, Application).value(FontSizeKey).toInt(&number);
    if (!number)
        return PlayerWindow::DefaultFontSize;
    return std::clamp(points, PlayerWindow::MinFontSize, PlayerWindow::MaxFontSize);
}

} // namespace

PlayerWindow::PlayerWindow(Platform &platform, const Game::Setup &setup, QWidget *parent)
    : QWidget(parent)
    , platform(platform)
    , Text1(new Console(this))
    , game(*this, setup)
    , typist(new QTimer(this))
    , files(new GameFileActions(*this, *Text1, platform, setup))
    , actionHint(new QAction(QStringLiteral("Hint"), this))
    , HintLine(new QLabel(this))
    , hints(new HintAsker(this))
{
    setObjectName(QStringLiteral("PlayerWindow"));
    setWindowTitle(QStringLiteral("TEXT PUZZLE QUILLMOOR"));
    resize(800, 560);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Console"));
    Text1->setAccessibleDescription(QStringLiteral("The game's text. Type a command at the end and press Enter. "
                                                   "Control plus and Control minus change the text size."));
    QFont font(QStringLiteral("Courier New"), rememberedFontSize());
    font.setStyleHint(QFont::Monospace);
    Text1->setFont(font);
    QPalette colours = Text1->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0, 255, 0));
    Text1->setPalette(colours);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Undo would bring back what the game cleared.
    Text1->setUndoRedoEnabled(false);
    Text1->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    layout->setSpacing(0);
    layout->addWidget(HintLine);

    connect(typist, &QTimer::timeout, this, &PlayerWindow::typeNext);
    // Ctrl+= as well, for keyboards whose plus needs Shift; Ctrl+0 goes back
    // to the default size.
    auto zoom = [this](const QList<QKeySequence> &keys, auto change) {
        for (const QKeySequence &key : keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, change);
    };
    zoom({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] { setFontSize(fontSize() + 1); });
    zoom({QKeySequence::ZoomOut}, [this] { setFontSize(fontSize() - 1); });
    zoom({QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { setFontSize(DefaultFontSize); });

    actionHint->setObjectName(QStringLiteral("actionHint"));
    actionHint->setShortcut(QKeySequence(Qt::Key_F1));
    actionHint->setToolTip(QStringLiteral("The next command of a shortest way to win from here"));
    Text1->addAction(actionHint);
    connect(actionHint, &QAction::triggered, this, &PlayerWindow::hint);
    HintLine->setObjectName(QStringLiteral("HintLine"));
    HintLine->setAccessibleName(QStringLiteral("Hint"));
    HintLine->setTextFormat(Qt::PlainText);
    HintLine->setWordWrap(true);
    HintLine->setStyleSheet(QStringLiteral("QLabel { background: black; color: rgb(0, 255, 0); "
                                           "border-top: 1px solid rgb(0, 160, 0); padding: 4px 5px; }"));
    HintLine->hide();
    connect(hints, &HintAsker::answered, this, &PlayerWindow::showHint);
}

void PlayerWindow::hint()
{
    hints->ask(game);
}

void PlayerWindow::showHint(const QString &line)
{
    HintLine->setFont(Text1->font());
    HintLine->setText(line);
    HintLine->show();
    QAccessibleEvent changed(HintLine, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void PlayerWindow::dropHint()
{
    hints->forget();
    HintLine->clear();
    HintLine->hide();
}

void PlayerWindow::typeLines(std::vector<Text> lines, std::chrono::milliseconds pace)
{
    typed.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    typing = false;
    // Half the time the line stands typed before its Enter, so that it can
    // be read before the game answers it, which may clear the console.
    typist->setInterval(pace / 2);
    if (typed.empty())
        typist->stop();
    else
        typist->start();
}

void PlayerWindow::typeNext()
{
    if (game.state() == Game::State::Ended || game.state() == Game::State::Stopped)
        typed.clear();
    if (typed.empty()) {
        typist->stop();
        return;
    }
    // Before the game starts, and while a question is open, the line waits.
    if (busy || !game.waiting())
        return;
    if (!typing) {
        // As the user types it: at the end of the console.
        QTextCursor end(Text1->document());
        end.movePosition(QTextCursor::End);
        end.insertText(QString::fromStdU32String(typed.front()));
        Text1->moveCursor(QTextCursor::End);
        Text1->ensureCursorVisible();
        typing = true;
        return;
    }
    typing = false;
    typed.pop_front();
    Text1->moveCursor(QTextCursor::End);
    Text1->insertPlainText(QStringLiteral("\n"));
    lineEntered();
    if (typed.empty())
        typist->stop();
}

std::string PlayerWindow::replaceGame(const Game::Setup &setup, const std::function<std::string(Game &)> &begin)
{
    Game next(*this, setup);
    busy = true;
    const std::string why = begin(next);
    busy = false;
    if (!why.empty())
        return why;
    game = std::move(next);
    // A hint for the game replaced is no hint for this one.
    dropHint();
    typed.clear();
    typing = false;
    typist->stop();
    Text1->setReadOnly(false);
    // Before the window shows, its start settles the game.
    if (shown)
        settle();
    return {};
}

int PlayerWindow::fontSize() const
{
    return Text1->font().pointSize();
}

void PlayerWindow::setFontSize(int points)
{
    points = std::clamp(points, MinFontSize, MaxFontSize);
    if (points == fontSize())
        return;
    QFont font = Text1->font();
    font.setPointSize(points);
    Text1->setFont(font);
    Text1->ensureCursorVisible();
    QSettings(Organisation, Application).setValue(FontSizeKey, points);
}

void PlayerWindow::append(TextView text)
{
    pending += QString::fromUcs4(text.data(), qsizetype(text.size())).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void PlayerWindow::clear()
{
    pending.clear();
    Text1->clear();
}

void PlayerWindow::prependLineBreak()
{
    if (Text1->document()->isEmpty()) {
        pending.prepend(QLatin1Char('\n'));
        return;
    }
    QTextCursor start(Text1->document());
    start.insertText(QStringLiteral("\n"));
    Text1->moveCursor(QTextCursor::End);
}

void PlayerWindow::flush()
{
    if (!pending.isEmpty()) {
        QTextCursor end(Text1->document());
        end.movePosition(QTextCursor::End);
        end.insertText(pending);
        pending.clear();
        Text1->moveCursor(QTextCursor::End);
        Text1->ensureCursorVisible();
    }
    // The user types after what the game wrote.
    Text1->closeOutput();
}

void PlayerWindow::inform(const std::string &text)
{
    flush();
    platform.inform(this, QString::fromStdString(text));
}

void PlayerWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (shown)
        return;
    shown = true;
    Text1->setFocus();
    // Let the window appear before the game may open a message box over it.
    QTimer::singleShot(0, this, &PlayerWindow::start);
}

void PlayerWindow::start()
{
    busy = true;
    game.start();
    busy = false;
    settle();
}

bool PlayerWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Keys typed while the lines are typed would end up inside them.
    if (watched == Text1 && event->type() == QEvent::KeyPress && !typed.empty())
        return true;
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && game.waiting() && !busy) {
            // The line break goes into the console as typed; then the game
            // reads the line from the console.
            static_cast<QObject *>(Text1)->event(event);
            lineEntered();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlayerWindow::lineEntered()
{
    // The hint was for the turn now over.
    dropHint();
    busy = true;
    game.enter(Text1->toPlainText().toStdU32String());
    busy = false;
    settle();
}

void PlayerWindow::settle()
{
    busy = true;
    while (game.state() == Game::State::Asking) {
        flush();
        game.answer(platform.ask(this, QString::fromStdU32String(game.question())));
    }
    flush();
    busy = false;
    if (game.state() == Game::State::Ended) {
        close();
    } else if (game.state() == Game::State::Stopped) {
        platform.inform(this, QString::fromStdString(game.stopMessage()));
        Text1->setReadOnly(true);
    }
}
