// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <cstddef>
#include <memory>

class Game;

// Finds a hint for a game being played on a thread of its own, so the window
// goes on answering while it searches: it is handed a quiet copy of the game
// as it stands, and hands back the line to show. A newer question, or
// forget(), stops the search still running and drops its answer; so do
// closing the window that owns the asker, and the end of the asker, which
// waits for its thread.
class HintAsker : public QObject
{
    Q_OBJECT

public:
    explicit HintAsker(QObject *parent = nullptr);
    ~HintAsker() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

    // Also when the game waits for no command: the line then says so.
    void ask(const Game &game);
    void forget();
    bool busy() const { return bool(job); }

    // The most play states one hint explores.
    void setMaxStates(std::size_t states) { maxStates = states; }

Q_SIGNALS:
    // The hint's line, never empty.
    void answered(const QString &line);

private:
    struct Job
    {
        std::atomic<bool> cancel{false};
    };

    std::size_t maxStates;
    std::shared_ptr<Job> job; // the search whose answer is wanted
    QThreadPool pool;
};
