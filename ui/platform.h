// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

// What the programs ask of the desktop: message boxes, the file dialogs,
// starting another program, opening a page in the browser and the folder the
// running program lies in. The windows reach the desktop only through here,
// so tests can script the answers.
class Platform
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Platform() = default;

    // A message with an OK button.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &text) = 0;
    // A question with Yes and No where No is the default, for a step that
    // cannot be taken back; true for Yes. A desktop that cannot preselect an
    // answer asks as ask() does.
    virtual bool askDefaultNo(QWidget *parent, const QString &text) { return ask(parent, text); }
    // A question with Yes, No and Cancel.
    virtual Answer askOrCancel(QWidget *parent, const QString &text) = 0;
    // The chosen path, or empty when the dialog was cancelled.
    virtual QString openFile(QWidget *parent, const QString &title, const QString &filter) = 0;
    // The path to write, chosen starting from suggested; empty when the dialog
    // was cancelled. Replacing a file that exists is confirmed in the dialog.
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &filter,
                             const QString &suggested) = 0;
    // Starts a program without waiting for it; on failure says why in error.
    virtual bool startProgram(const QString &program, const QStringList &arguments, QString *error) = 0;
    virtual QString programFolder() const = 0;
    // Opens url with the desktop's program for it (a web page in the user's
    // browser) without waiting; false when it could not. A desktop that has no
    // such program opens nothing.
    virtual bool openUrl(const QUrl &) { return false; }
};
