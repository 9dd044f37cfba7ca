// SPDX-License-Identifier: MIT
#include "hintasker.h"

#include "game.h"
#include "hint.h"

#include <QEvent>

HintAsker::HintAsker(QObject *parent)
    : QObject(parent)
    , maxStates(Hint::MaxStates)
{
    pool.setMaxThreadCount(1);
    if (parent)
        parent->installEventFilter(this);
}

bool HintAsker::eventFilter(QObject *watched, QEvent *event)
{
    // Nobody waits for the answer in a window closed.
    if (watched == parent() && event->type() == QEvent::Close)
        forget();
    return QObject::eventFilter(watched, event);
}

HintAsker::~HintAsker()
{
    forget();
    pool.waitForDone();
}

void HintAsker::ask(const Game &game)
{
    forget();
    auto held = std::make_shared<Job>();
    job = held;
    // The thread gets a copy of its own: the window's game goes on meanwhile.
    auto copy = std::make_shared<Game>(game.quietCopy());
    pool.start([this, held, copy, limit = maxStates] {
        const std::string line = Hint::say(*copy, limit, &held->cancel);
        if (held->cancel)
            return;
        // Shown only if no newer question came meanwhile.
        QMetaObject::invokeMethod(
            this,
            [this, held, shown = QString::fromStdString(line)] {
                if (job != held)
                    return;
                job.reset();
                Q_EMIT answered(shown);
            },
            Qt::QueuedConnection);
    });
}

void HintAsker::forget()
{
    if (job)
        job->cancel = true;
    job.reset();
}
