// SPDX-License-Identifier: MIT
#include "checkleveldialog.h"

#include "itemletter.h"
#include "levelcheck.h"
#include "levelreader.h"
#include "textreport.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>
#include <new>

namespace {

enum Column { SeverityColumn, LocationColumn, LineColumn, TextColumn };
enum DeadEndColumn { WhereColumn, CommandColumn, StatesColumn, WayInColumn };

// Where a problem, a way to get stuck or a thing no play reaches lies in the
// level being edited, for opening it; kept in a row's first column.
constexpr int RowRole = Qt::UserRole;
constexpr int ColumnRole = Qt::UserRole + 1;
// A way to get stuck's place in the report.
constexpr int DeadEndRole = Qt::UserRole + 2;

QString number(std::size_t value)
{
    return QString::fromStdString(TextReport::number(value));
}

QString counted(std::size_t count, const char *one, const char *many)
{
    return number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

// The label above a control names it, for a screen reader as for the eye.
QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *caption = new QLabel(text, parent);
    caption->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return caption;
}

// Where the row chosen in a list is shown in full, on two lines or more.
QLabel *inFull(const QString &name, QWidget *parent)
{
    auto *shown = new QLabel(parent);
    shown->setObjectName(name);
    shown->setTextFormat(Qt::PlainText);
    shown->setWordWrap(true);
    shown->setMinimumHeight(shown->fontMetrics().lineSpacing() * 2);
    shown->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return shown;
}

// A list of findings, one a row, whose row the screen reader reads whole.
QTreeWidget *findingList(const QString &name, const QStringList &headers, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(int(headers.size()));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionResizeMode(QHeaderView::Interactive);
    return list;
}

// Lets Enter and a double click on the row open the location, where the
// level being edited has it.
void openable(QTreeWidgetItem *entry, std::optional<GridRef> where, QString &spoken)
{
    if (!where)
        return;
    entry->setData(0, RowRole, where->row);
    entry->setData(0, ColumnRole, where->col);
    const QString name = QString::fromStdString(where->name());
    spoken += QStringLiteral(" Press Enter to open %1 in Area Stats.").arg(name);
    entry->setToolTip(0, QStringLiteral("Press Enter or double-click to open %1 in Area Stats").arg(name));
}

void speak(QTreeWidgetItem *entry, const QString &spoken)
{
    for (int column = 0; column < entry->columnCount(); ++column)
        entry->setData(column, Qt::AccessibleTextRole, spoken);
}

QPushButton *button(const QString &text, const QString &name, const QString &tip, QWidget *parent)
{
    auto *made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setToolTip(tip);
    made->setAccessibleName(text);
    made->setAccessibleDescription(tip);
    // Enter belongs to the list of problems, where it opens a location.
    made->setAutoDefault(false);
    return made;
}

} // namespace

CheckLevelDialog::CheckLevelDialog(QWidget *parent)
    : QDialog(parent)
    , maxStates(LevelCheck::Options{}.maxStates)
{
    setObjectName(QStringLiteral("CheckLevelDialog"));
    setWindowTitle(QStringLiteral("Check Level"));
    setModal(false);
    buildControls();
    resize(760, 720);
}

CheckLevelDialog::~CheckLevelDialog()
{
    stop();
    join();
}

void CheckLevelDialog::buildControls()
{
    buildHeading();
    buildProblemList();
    QLayout *findings = buildFindings();
    QLabel *verdictCaption = buildVerdict();
    buildWalkthroughList();
    QLayout *buttons = buildButtons();
    arrange(findings, verdictCaption, buttons);
    orderTabs();
}

void CheckLevelDialog::buildHeading()
{
    heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("levelLabel"));
    heading->setTextFormat(Qt::PlainText);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
}

void CheckLevelDialog::buildProblemList()
{
    problems = new QTreeWidget(this);
    problems->setObjectName(QStringLiteral("problemList"));
    problems->setColumnCount(4);
    problems->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Location"), QStringLiteral("Line"),
                               QStringLiteral("Problem")});
    problems->setRootIsDecorated(false);
    problems->setUniformRowHeights(false);
    problems->setWordWrap(true);
    problems->setAllColumnsShowFocus(true);
    problems->header()->setStretchLastSection(true);
    problems->header()->setSectionResizeMode(QHeaderView::Interactive);
    const int digit = problems->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    problems->setColumnWidth(SeverityColumn, digit * 10);
    problems->setColumnWidth(LocationColumn, digit * 9);
    problems->setColumnWidth(LineColumn, digit * 6);
    problemsLabel = label(QStringLiteral("Problems"), problems, this);
    problemsLabel->setObjectName(QStringLiteral("problemsLabel"));
    // Enter (activation) and a double click open the problem's location.
    connect(problems, &QTreeWidget::itemActivated, this, &CheckLevelDialog::choose);
    // A row shows one line of a sentence that may be longer.
    problemText = inFull(QStringLiteral("problemText"), this);
    connect(problems, &QTreeWidget::currentItemChanged, this, &CheckLevelDialog::showInFull);
}

QLayout *CheckLevelDialog::buildFindings()
{
    deadEnds = findingList(QStringLiteral("deadEndList"),
                           {QStringLiteral("Location"), QStringLiteral("Command"), QStringLiteral("Play States"),
                            QStringLiteral("Shortest Way In")},
                           this);
    const int digit = deadEnds->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    deadEnds->setColumnWidth(WhereColumn, digit * 9);
    deadEnds->setColumnWidth(CommandColumn, digit * 22);
    deadEnds->setColumnWidth(StatesColumn, digit * 11);
    deadEndsLabel = label(QStringLiteral("Ways to get stuck"), deadEnds, this);
    deadEndsLabel->setObjectName(QStringLiteral("deadEndsLabel"));
    connect(deadEnds, &QTreeWidget::itemActivated, this, &CheckLevelDialog::choose);
    playIntoButton = button(QStringLiteral("Play into It"), QStringLiteral("playIntoButton"),
                            QStringLiteral("Start the player on the saved level and type the shortest way into the "
                                           "chosen dead end"),
                            this);
    playIntoButton->setEnabled(false);
    connect(playIntoButton, &QPushButton::clicked, this, [this] {
        if (const QTreeWidgetItem *chosen = deadEnds->currentItem())
            Q_EMIT playIntoRequested(chosen->data(0, DeadEndRole).toInt());
    });
    // The chosen way in full, below the list, as a problem is below its own.
    deadEndText = inFull(QStringLiteral("deadEndText"), this);
    connect(deadEnds, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *chosen) {
        playIntoButton->setEnabled(chosen != nullptr);
        deadEndText->setText(chosen ? chosen->toolTip(CommandColumn) : QString());
    });

    unreached = findingList(QStringLiteral("unreachedList"),
                            {QStringLiteral("Kind"), QStringLiteral("Name"), QStringLiteral("Where")}, this);
    unreached->setColumnWidth(0, digit * 9);
    unreached->setColumnWidth(1, digit * 12);
    unreachedLabel = label(QStringLiteral("Never reached in play"), unreached, this);
    unreachedLabel->setObjectName(QStringLiteral("unreachedLabel"));
    connect(unreached, &QTreeWidget::itemActivated, this, &CheckLevelDialog::choose);

    auto *heading = new QHBoxLayout;
    heading->addWidget(deadEndsLabel, 1);
    heading->addWidget(playIntoButton);
    auto *findings = new QGridLayout;
    findings->addLayout(heading, 0, 0);
    findings->addWidget(unreachedLabel, 0, 1, Qt::AlignBottom);
    findings->addWidget(deadEnds, 1, 0);
    findings->addWidget(unreached, 1, 1);
    findings->addWidget(deadEndText, 2, 0, 1, 2);
    findings->setColumnStretch(0, 3);
    findings->setColumnStretch(1, 2);
    return findings;
}

QLabel *CheckLevelDialog::buildVerdict()
{
    verdictLabel = new QLabel(this);
    verdictLabel->setObjectName(QStringLiteral("verdictLabel"));
    verdictLabel->setTextFormat(Qt::PlainText);
    verdictLabel->setWordWrap(true);
    // Reachable by Tab, so a screen reader reads the verdict.
    verdictLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    verdictLabel->setFocusPolicy(Qt::StrongFocus);
    verdictLabel->setFrameShape(QFrame::StyledPanel);
    verdictLabel->setMargin(4);
    return label(QStringLiteral("Verdict"), verdictLabel, this);
}

void CheckLevelDialog::buildWalkthroughList()
{
    walkthrough = new QListWidget(this);
    walkthrough->setObjectName(QStringLiteral("walkthroughList"));
    walkthroughLabel = label(QStringLiteral("Walkthrough"), walkthrough, this);
    walkthroughLabel->setObjectName(QStringLiteral("walkthroughLabel"));
}

QLayout *CheckLevelDialog::buildButtons()
{
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("checkProgress"));
    progress->setRange(0, 0);
    progress->setTextVisible(false);
    progress->setAccessibleName(QStringLiteral("Checking"));
    progress->setMaximumWidth(160);

    stopButton = button(QStringLiteral("Stop"), QStringLiteral("stopButton"),
                        QStringLiteral("Stop the check; whether the level can be won stays unknown"), this);
    connect(stopButton, &QPushButton::clicked, this, &CheckLevelDialog::stop);
    againButton = button(QStringLiteral("Check Again"), QStringLiteral("checkAgainButton"),
                         QStringLiteral("Check the level as it stands now"), this);
    connect(againButton, &QPushButton::clicked, this, &CheckLevelDialog::checkAgainRequested);
    playButton = button(QStringLiteral("Play the Walkthrough"), QStringLiteral("playButton"),
                        QStringLiteral("Start the player on the saved level and type the walkthrough into it"), this);
    connect(playButton, &QPushButton::clicked, this, &CheckLevelDialog::playRequested);
    closeButton = button(QStringLiteral("Close"), QStringLiteral("closeButton"),
                         QStringLiteral("Close this window; a check still running stops"), this);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(progress);
    buttons->addStretch();
    for (QPushButton *each : {stopButton, againButton, playButton, closeButton})
        buttons->addWidget(each);
    return buttons;
}

void CheckLevelDialog::arrange(QLayout *findings, QLabel *verdictCaption, QLayout *buttons)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(problemsLabel);
    layout->addWidget(problems, 3);
    layout->addWidget(problemText);
    layout->addLayout(findings, 2);
    layout->addWidget(verdictCaption);
    layout->addWidget(verdictLabel);
    layout->addWidget(walkthroughLabel);
    layout->addWidget(walkthrough, 2);
    layout->addLayout(buttons);
}

void CheckLevelDialog::orderTabs()
{
    setTabOrder(problems, deadEnds);
    setTabOrder(deadEnds, playIntoButton);
    setTabOrder(playIntoButton, unreached);
    setTabOrder(unreached, verdictLabel);
    setTabOrder(verdictLabel, walkthrough);
    setTabOrder(walkthrough, stopButton);
    setTabOrder(stopButton, againButton);
    setTabOrder(againButton, playButton);
    setTabOrder(playButton, closeButton);
}

void CheckLevelDialog::check(const std::string &levelBytes, const QString &levelPath, const QString &languageFile)
{
    stop();
    join();
    ++runs;
    bytes = levelBytes;
    path = levelPath;
    language = languageFile;
    outcome.reset();
    stopped = false;
    busy = true;

    heading->setText(QStringLiteral("Level: %1").arg(QDir::toNativeSeparators(path)));
    problems->clear();
    problemText->clear();
    problemsLabel->setText(QStringLiteral("Problems"));
    deadEnds->clear();
    deadEndsLabel->setText(QStringLiteral("Ways to get stuck"));
    unreached->clear();
    unreachedLabel->setText(QStringLiteral("Never reached in play"));
    walkthrough->clear();
    walkthroughLabel->setText(QStringLiteral("Walkthrough"));
    verdictLabel->setText(QStringLiteral("Checking the level and searching for the shortest way to win\u2026"));
    progress->setVisible(true);
    stopButton->setEnabled(true);
    againButton->setEnabled(false);
    playButton->setEnabled(false);

    if (language.isEmpty()) {
        CheckReport report;
        report.failure = "The language file \"Language.txt\" is not installed with the studio, so the level cannot "
                         "be played to check it.";
        finish(std::move(report), runs);
        return;
    }

    LevelCheck::Options options;
    options.languageFile = QFile::encodeName(language).toStdString();
    options.maxStates = maxStates;
    job = std::make_shared<Job>();
    options.cancel = &job->cancel;
    // The thread gets copies of everything it reads, and only hands its
    // report back to this window's thread; the flag lives as long as it runs.
    worker = std::thread([this, run = runs, held = job, options, level = bytes,
                          file = QFile::encodeName(path).toStdString()] {
        CheckReport report;
        try {
            report = LevelCheck::checkBytes(level, file, options);
        } catch (const std::bad_alloc &) {
            report = {};
            report.failure = "The check ran out of memory before it could tell whether the level can be won.";
        } catch (const std::exception &fault) {
            report = {};
            report.failure = std::string("The check failed: ") + fault.what();
        }
        QMetaObject::invokeMethod(
            this, [this, run, found = std::move(report)]() mutable { finish(std::move(found), run); },
            Qt::QueuedConnection);
    });
}

void CheckLevelDialog::stop()
{
    if (!busy || !job)
        return;
    stopped = true;
    job->cancel = true;
    stopButton->setEnabled(false);
}

void CheckLevelDialog::join()
{
    if (worker.joinable())
        worker.join();
}

void CheckLevelDialog::finish(CheckReport report, unsigned run)
{
    // A check forgotten for a newer one has nothing to show.
    if (run != runs)
        return;
    join();
    job.reset();
    busy = false;
    outcome = std::move(report);
    present();
    Q_EMIT checked();
}

void CheckLevelDialog::present()
{
    const CheckReport &report = *outcome;
    progress->setVisible(false);
    stopButton->setEnabled(false);
    againButton->setEnabled(true);
    playButton->setEnabled(report.failure.empty() && report.winnable == true);

    std::size_t errors = 0;
    for (const Problem &problem : report.problems) {
        errors += problem.isError();
        const QString severity = problem.isError() ? QStringLiteral("Error") : QStringLiteral("Warning");
        const QString where = problem.location ? QString::fromStdString(problem.location->name()) : QString();
        const QString line = problem.line > 0 ? QString::number(problem.line) : QString();
        const QString text = QString::fromStdString(problem.text);
        auto *entry = new QTreeWidgetItem(problems, {severity, where, line, text});
        entry->setToolTip(TextColumn, text);
        // A screen reader reads the row as one sentence.
        QString spoken = severity;
        if (!where.isEmpty())
            spoken += QStringLiteral(" at ") + where;
        if (!line.isEmpty())
            spoken += QStringLiteral(", line ") + line;
        spoken += QStringLiteral(": ") + text;
        // Only a location of the level being edited can be opened here.
        if (problem.location && problem.file.empty()) {
            entry->setData(SeverityColumn, RowRole, problem.location->row);
            entry->setData(SeverityColumn, ColumnRole, problem.location->col);
            spoken += QStringLiteral(" Press Enter to open %1 in Area Stats.").arg(where);
            entry->setToolTip(LocationColumn, QStringLiteral("Press Enter or double-click to open %1 in Area Stats")
                                                  .arg(where));
        }
        for (int column = SeverityColumn; column <= TextColumn; ++column)
            entry->setData(column, Qt::AccessibleTextRole, spoken);
    }
    const std::size_t warnings = report.problems.size() - errors;
    problemsLabel->setText(report.problems.empty()
                               ? QStringLiteral("Problems: none found")
                               : QStringLiteral("Problems: %1, %2")
                                     .arg(counted(errors, "error", "errors"), counted(warnings, "warning", "warnings")));

    presentDeadEnds(report);
    presentUnreached(report);
    verdictLabel->setText(verdict(report, stopped));

    for (std::size_t i = 0; i < report.walkthrough.size(); ++i) {
        walkthrough->addItem(
            QStringLiteral("%1. %2").arg(i + 1).arg(QString::fromStdString(report.walkthrough[i])));
    }
    if (!report.walkthrough.empty())
        walkthroughLabel->setText(QStringLiteral("Walkthrough: %1").arg(counted(report.walkthrough.size(), "command", "commands")));

    // The focus goes where there is something to read.
    if (problems->topLevelItemCount() > 0) {
        problems->setCurrentItem(problems->topLevelItem(0));
        problems->setFocus();
    } else {
        verdictLabel->setFocus();
    }
}

void CheckLevelDialog::presentDeadEnds(const CheckReport &report)
{
    for (std::size_t i = 0; i < report.deadEnds.size(); ++i) {
        const CheckReport::DeadEnd &way = report.deadEnds[i];
        QString where = QString::fromStdString(way.location.name());
        if (way.chained)
            where += QStringLiteral(" of ") + QString::fromStdString(way.file);
        QStringList wayIn;
        for (const std::string &command : way.walkthrough)
            wayIn << QString::fromStdString(command);
        auto *entry = new QTreeWidgetItem(deadEnds, {where, QString::fromStdString(way.command), number(way.states),
                                                     wayIn.join(QStringLiteral(", "))});
        entry->setData(0, DeadEndRole, int(i));
        QString spoken = QString::fromStdString(TextReport::deadEnd(way));
        for (int column = WhereColumn; column <= WayInColumn; ++column)
            entry->setToolTip(column, spoken);
        openable(entry, way.chained ? std::nullopt : std::optional(way.location), spoken);
        speak(entry, spoken);
    }
    if (report.deadEnds.empty())
        deadEndsLabel->setText(report.canGetStuck == false ? QStringLiteral("Ways to get stuck: none")
                               : report.winnable == false ? QStringLiteral("Ways to get stuck: none, as no way wins")
                               : report.searched          ? QStringLiteral("Ways to get stuck: not known")
                                                          : QStringLiteral("Ways to get stuck"));
    else
        deadEndsLabel->setText(QStringLiteral("Ways to get stuck: %1%2")
                                   .arg(number(report.deadEnds.size()),
                                        // The search stopped at its limit.
                                        report.unreached ? QString() : QStringLiteral(", maybe more")));
    if (deadEnds->topLevelItemCount() > 0)
        deadEnds->setCurrentItem(deadEnds->topLevelItem(0));
}

void CheckLevelDialog::presentUnreached(const CheckReport &report)
{
    if (!report.unreached) {
        if (report.searched && report.failure.empty())
            unreachedLabel->setText(QStringLiteral("Never reached in play: not known"));
        return;
    }
    // Where each item of the level being edited lies at the start.
    const Level level = LevelReader::read(bytes, QFile::encodeName(path).toStdString()).level;
    auto lyingAt = [&level](const std::string &name) -> std::optional<GridRef> {
        for (int item = 0; item < Level::ItemCount; ++item) {
            const std::string letter(1, char(ItemLetter::of(item)));
            if (text::toUtf8(level.items[item]) != name && !(text::isBlank(level.items[item]) && letter == name))
                continue;
            for (int i = 0; i < Level::LocationCount; ++i) {
                if (level.records[i].holdsItem(item))
                    return GridRef::fromIndex(i);
            }
        }
        return std::nullopt;
    };
    std::size_t count = 0;
    for (std::size_t file = 0; file < report.unreached->size(); ++file) {
        const CheckReport::Unreached &found = (*report.unreached)[file];
        // Only the level being edited opens here; the others are named.
        const bool edited = file == 0;
        const QString of = edited ? QString() : QStringLiteral(" of ") + QString::fromStdString(found.file);
        auto add = [&](const QString &kind, const QString &name, std::optional<GridRef> at) {
            const QString where = at ? QString::fromStdString(at->name()) + of : of.mid(4);
            auto *entry = new QTreeWidgetItem(unreached, {kind, name, where});
            QString spoken = QStringLiteral("%1 %2%3 is never reached in play.").arg(kind, name, of);
            openable(entry, edited ? at : std::nullopt, spoken);
            speak(entry, spoken);
            ++count;
        };
        for (const GridRef &at : found.locations)
            add(QStringLiteral("Location"), QString::fromStdString(at.name()), at);
        for (const std::string &item : found.items)
            add(QStringLiteral("Item"), QString::fromStdString(item), edited ? lyingAt(item) : std::nullopt);
        for (const std::string &rule : found.rules)
            add(QStringLiteral("Rule"), QString::fromStdString(rule), std::nullopt);
    }
    unreachedLabel->setText(count == 0 ? QStringLiteral("Never reached in play: nothing")
                                       : QStringLiteral("Never reached in play: %1").arg(number(count)));
    if (count > 0)
        unreached->setCurrentItem(unreached->topLevelItem(0));
}

QString CheckLevelDialog::verdict(const CheckReport &report, bool stopped)
{
    if (!report.failure.empty())
        return QStringLiteral("The level could not be checked: %1").arg(QString::fromStdString(report.failure));
    if (!report.searched)
        return QString();
    if (!report.winnable) {
        const QString states = counted(report.states, "play state", "play states");
        return stopped ? QStringLiteral("Unknown: stopped after %1.").arg(states)
                       : QStringLiteral("Unknown: stopped after %1, the most one check explores.").arg(states);
    }
    if (!*report.winnable) {
        if (report.states == 0)
            return QStringLiteral("Cannot be won: the player stops before the first command.");
        return QStringLiteral("Cannot be won: every reachable play state (%1) was explored.").arg(number(report.states));
    }
    if (report.walkthrough.empty())
        return QStringLiteral("Winnable in 0 commands: the game ends where it starts.");
    return QStringLiteral("Winnable in %1 (%2 searched).")
        .arg(counted(report.walkthrough.size(), "command", "commands"),
             counted(report.states, "play state", "play states"));
}

void CheckLevelDialog::choose(QTreeWidgetItem *entry)
{
    const QVariant row = entry ? entry->data(0, RowRole) : QVariant();
    if (row.isValid())
        Q_EMIT locationChosen(row.toInt(), entry->data(0, ColumnRole).toInt());
}

void CheckLevelDialog::showInFull(QTreeWidgetItem *entry)
{
    if (!entry) {
        problemText->clear();
        return;
    }
    QString text = entry->text(TextColumn);
    if (entry->data(SeverityColumn, RowRole).isValid())
        text += QStringLiteral(" (Enter opens %1 in Area Stats.)").arg(entry->text(LocationColumn));
    problemText->setText(text);
}

void CheckLevelDialog::hideEvent(QHideEvent *event)
{
    // Closed, not just minimised: nobody waits for the verdict any more.
    if (!event->spontaneous())
        stop();
    QDialog::hideEvent(event);
}
