// SPDX-License-Identifier: MIT
#pragma once

#include "platform.h"

// The desktop itself: Qt message boxes and file dialogs, QProcess, the
// desktop's services for opening a page, and the folder of the running
// executable.
class QtPlatform : public Platform
{
public:
    // title is the caption of every message box.
    explicit QtPlatform(const QString &title);

    void inform(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    bool askDefaultNo(QWidget *parent, const QString &text) override;
    Answer askOrCancel(QWidget *parent, const QString &text) override;
    QString openFile(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &filter, const QString &suggested) override;
    bool startProgram(const QString &program, const QStringList &arguments, QString *error) override;
    QString programFolder() const override;
    bool openUrl(const QUrl &url) override;

private:
    QString title;
};
