// SPDX-License-Identifier: MIT
#pragma once

#include "checkreport.h"

#include <QDialog>

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>

class QLabel;
class QLayout;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Check Level": what is wrong with the level as the author sees it, whether
// it can be won, its shortest walkthrough, the ways a player can get stuck
// and the content no play reaches. The check runs on a thread of
// its own with copies of all it reads, so the studio goes on while it runs;
// "Stop", or closing the window, stops it. Choosing a problem of a location
// asks for that location to be opened, as does choosing a way to get stuck
// or something no play reaches; "Play the Walkthrough" asks for the
// walkthrough to be played, and "Play into It" for the way into the chosen
// dead end: the map window does all, as it owns the level and its dialogs.
class CheckLevelDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CheckLevelDialog(QWidget *parent = nullptr);
    ~CheckLevelDialog() override;

    // Checks the level file held in bytes as if it lay at path, so that
    // LOADLEVEL names are looked up from there, playing the first language of
    // languageFile (empty: none was found). A check still running is stopped
    // and forgotten first.
    void check(const std::string &bytes, const QString &path, const QString &languageFile);
    // Asks the running check to stop; its verdict is then unknown.
    void stop();
    bool running() const { return busy; }

    // The last check begun: the level it read; once it has finished, what it found.
    const std::string &checkedBytes() const { return bytes; }
    const QString &checkedPath() const { return path; }
    const QString &checkedLanguage() const { return language; }
    const std::optional<CheckReport> &report() const { return outcome; }

    // The most play states one check explores.
    void setMaxStates(std::size_t states) { maxStates = states; }

    // The verdict as the window states it; stopped: the author stopped the check.
    static QString verdict(const CheckReport &report, bool stopped);

Q_SIGNALS:
    void locationChosen(int row, int col);
    void checkAgainRequested();
    void playRequested();
    // deadEnd: its place in the report's list.
    void playIntoRequested(int deadEnd);
    // A check has ended and what it found is shown.
    void checked();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    // What the running check and the window share: the flag that stops it.
    struct Job
    {
        std::atomic<bool> cancel{false};
    };

    void buildControls();
    void buildHeading();
    // The problems found, and the one chosen in full below them.
    void buildProblemList();
    // Returns the verdict's caption.
    QLabel *buildVerdict();
    // The ways to get stuck and what no play reaches, side by side.
    QLayout *buildFindings();
    void buildWalkthroughList();
    // The progress and the window's buttons, in one row.
    QLayout *buildButtons();
    void arrange(QLayout *findings, QLabel *verdictCaption, QLayout *buttons);
    void orderTabs();
    void finish(CheckReport report, unsigned run);
    void present();
    void presentDeadEnds(const CheckReport &report);
    void presentUnreached(const CheckReport &report);
    void choose(QTreeWidgetItem *entry);
    void showInFull(QTreeWidgetItem *entry);
    void join();

    std::string bytes;
    QString path;
    QString language;
    std::optional<CheckReport> outcome;
    std::size_t maxStates;
    bool busy = false;
    bool stopped = false;
    unsigned runs = 0; // tells a finished check from one forgotten
    std::shared_ptr<Job> job;
    std::thread worker;

    QLabel *heading = nullptr;
    QLabel *problemsLabel = nullptr;
    QTreeWidget *problems = nullptr;
    QLabel *problemText = nullptr; // the chosen problem in full
    QLabel *deadEndsLabel = nullptr;
    QTreeWidget *deadEnds = nullptr;
    QPushButton *playIntoButton = nullptr;
    QLabel *deadEndText = nullptr; // the chosen way to get stuck in full
    QLabel *unreachedLabel = nullptr;
    QTreeWidget *unreached = nullptr;
    QLabel *verdictLabel = nullptr;
    QLabel *walkthroughLabel = nullptr;
    QListWidget *walkthrough = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *stopButton = nullptr;
    QPushButton *againButton = nullptr;
    QPushButton *playButton = nullptr;
    QPushButton *closeButton = nullptr;
};
