// SPDX-License-Identifier: MIT
#include "scriptedplatform.h"

#include <QUrl>

void ScriptedPlatform::inform(QWidget *, const QString &text)
{
    events.append({Kind::Inform, text, {}});
}

bool ScriptedPlatform::ask(QWidget *, const QString &text)
{
    return answer(Kind::Ask, text);
}

bool ScriptedPlatform::askDefaultNo(QWidget *, const QString &text)
{
    return answer(Kind::AskDefaultNo, text);
}

bool ScriptedPlatform::answer(Kind kind, const QString &text)
{
    events.append({kind, text, {}});
    if (answers.isEmpty()) {
        ++unanswered;
        return false;
    }
    return answers.dequeue() == Answer::Yes;
}

Platform::Answer ScriptedPlatform::askOrCancel(QWidget *, const QString &text)
{
    events.append({Kind::AskOrCancel, text, {}});
    if (answers.isEmpty()) {
        ++unanswered;
        return Answer::Cancel;
    }
    return answers.dequeue();
}

QString ScriptedPlatform::openFile(QWidget *, const QString &title, const QString &)
{
    events.append({Kind::OpenFile, title, {}});
    return openFileResults.isEmpty() ? QString() : openFileResults.dequeue();
}

QString ScriptedPlatform::saveFile(QWidget *, const QString &title, const QString &, const QString &suggested)
{
    events.append({Kind::SaveFile, title, {suggested}});
    return saveFileResults.isEmpty() ? QString() : saveFileResults.dequeue();
}

bool ScriptedPlatform::startProgram(const QString &program, const QStringList &arguments, QString *error)
{
    events.append({Kind::StartProgram, program, arguments});
    if (!startSucceeds && error)
        *error = QStringLiteral("the program could not be started");
    return startSucceeds;
}

bool ScriptedPlatform::openUrl(const QUrl &url)
{
    events.append({Kind::OpenUrl, url.toString(), {}});
    return openUrlSucceeds;
}

QStringList ScriptedPlatform::texts(Kind kind) const
{
    QStringList result;
    for (const Event &event : events) {
        if (event.kind == kind)
            result.append(event.text);
    }
    return result;
}
