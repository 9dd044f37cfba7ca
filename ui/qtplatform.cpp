// SPDX-License-Identifier: MIT
#include "qtplatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

QtPlatform::QtPlatform(const QString &title)
    : title(title)
{
}

void QtPlatform::inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

bool QtPlatform::ask(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

bool QtPlatform::askDefaultNo(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

Platform::Answer QtPlatform::askOrCancel(QWidget *parent, const QString &text)
{
    switch (QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtPlatform::openFile(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString QtPlatform::saveFile(QWidget *parent, const QString &title, const QString &filter, const QString &suggested)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets the one suggested, so the file
    // opens as what it is.
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtPlatform::startProgram(const QString &program, const QStringList &arguments, QString *error)
{
    // startDetached finds a missing program only by failing; say which one.
    if (!QFileInfo(program).isExecutable()) {
        if (error)
            *error = QStringLiteral("\"%1\" is missing or not executable.").arg(program);
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

QString QtPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
