// SPDX-License-Identifier: MIT
#pragma once

#include "platform.h"

#include <QList>
#include <QQueue>

// A desktop for tests: questions take their answers from a script, and every
// message, question, dialog, program start and page opened is recorded. Nothing ever waits
// for a person. A question with no scripted answer is answered No (Cancel for
// three buttons) and counted in unanswered.
class ScriptedPlatform : public Platform
{
public:
    enum class Kind { Inform, Ask, AskOrCancel, OpenFile, SaveFile, StartProgram, AskDefaultNo, OpenUrl };

    struct Event
    {
        Kind kind;
        QString text; // message, question, dialog title, program or URL opened
        QStringList arguments; // of a started program; the file suggested to save
    };

    void inform(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    bool askDefaultNo(QWidget *parent, const QString &text) override;
    Answer askOrCancel(QWidget *parent, const QString &text) override;
    QString openFile(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &filter, const QString &suggested) override;
    bool startProgram(const QString &program, const QStringList &arguments, QString *error) override;
    QString programFolder() const override { return folder; }
    bool openUrl(const QUrl &url) override;

    // The texts of recorded events of one kind, in order.
    QStringList texts(Kind kind) const;

    QQueue<Answer> answers; // for ask, askDefaultNo and askOrCancel
    QQueue<QString> openFileResults; // "" stands for a cancelled dialog
    QQueue<QString> saveFileResults; // likewise
    bool startSucceeds = true;
    bool openUrlSucceeds = true;
    QString folder;
    QList<Event> events;
    int unanswered = 0;

private:
    // Records a Yes/No question and takes its answer.
    bool answer(Kind kind, const QString &text);
};
