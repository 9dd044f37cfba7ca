// SPDX-License-Identifier: MIT
// Times the studio and prints medians of several runs:
//   0. a fresh process that shows the start dialog, beside one that shows an
//      empty window, from the process's start to the window shown;
//   1. from creating the start dialog to the map window shown, for a new
//      level, for the bundled QUILLMOOR.qw and for the largest legal level;
//   2. loading and saving the largest legal level (81 locations, 26 items,
//      100 rules) through the map window;
//   3. loading and saving a level whose one location has a narrative of 1,
//      5 and 10 MB, to show that the cost grows in step with the size.
// Usage: studiobench [RUNS]
//        studiobench --show start|empty   (one process of figure 0)
#include "qtplatform.h"
#include "scriptedplatform.h"
#include "startdialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QByteArray lines(const QStringList &body)
{
    QStringList all{QStringLiteral("[MAP]")};
    for (int row = 1; row <= 9; ++row)
        all << QString::number(row) + QStringLiteral(" ABCDEFGHI");
    all << QString() << body;
    return (all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// Every location used, with a long narrative, four locked paths with their
// lockout narratives, the 26 items spread over the map, and 100 rules.
QByteArray largestLevel()
{
    QStringList body{QStringLiteral("[ITEMS]")};
    for (int n = 0; n < 26; ++n)
        body << QStringLiteral("%1 enchanted-thing-number-%2").arg(QChar(u'A' + n)).arg(n + 1);
    body << QString();
    for (int i = 0; i < 81; ++i) {
        const int row = i / 9 + 1;
        const int col = i % 9;
        body << QStringLiteral("[LOCATION %1%2]").arg(row).arg(QChar(u'A' + col));
        body << QStringLiteral("Room %1%2. ").arg(row).arg(QChar(u'A' + col)).repeated(1)
                    + QStringLiteral("Dust lies thick on the flagstones and a cold draught moves the cobwebs. ")
                          .repeated(6)
                    + QStringLiteral("~A second paragraph.");
        for (const char *direction : {"N", "S", "E", "W"}) {
            body << QStringLiteral("PATH %1 REQUIRES=%2 The way is barred; you need something to pass.")
                        .arg(QLatin1String(direction))
                        .arg(QChar(u'A' + (i % 26)));
        }
        if (i % 3 == 0 && i / 3 < 26)
            body << QStringLiteral("ITEM %1").arg(QChar(u'A' + i / 3));
        if (i == 0)
            body << QStringLiteral("START");
        if (i == 80)
            body << QStringLiteral("ENDGAME");
        body << QString();
    }
    body << QStringLiteral("[COMBOS]");
    for (int n = 0; n < 100; ++n)
        body << QStringLiteral("%1+%2=%3").arg(QChar(u'A' + n % 26), QChar(u'A' + (n + 1) % 26), QChar(u'A' + (n + 2) % 26));
    body << QString();
    return lines(body);
}

// One location whose narrative is about megabytes long, with a line break
// every 100 characters.
QByteArray hugeNarrative(int megabytes)
{
    const QString sentence = QStringLiteral("The walls are covered in tiny writing, line after line of it, ");
    QString narrative;
    narrative.reserve(megabytes * 1024 * 1024 + 200);
    while (narrative.size() < megabytes * 1024 * 1024) {
        narrative += sentence;
        narrative += sentence.left(36);
        narrative += u'~';
    }
    return lines({QStringLiteral("[ITEMS]"), QStringLiteral("A lamp"), QString(), QStringLiteral("[LOCATION 5E]"),
                  narrative, QStringLiteral("PATH N"), QStringLiteral("ITEM A"), QStringLiteral("START"), QString(),
                  QStringLiteral("[COMBOS]"), QString()});
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

struct Figures
{
    double open = 0; // start dialog created to map window shown
    double save = 0; // "Save Level Changes" clicked to saved
};

// One run of the studio on level: the start dialog, "Continue", the map shown,
// then a save through its button.
Figures run(const QString &level)
{
    Figures figures;
    QElapsedTimer timer;
    timer.start();
    ScriptedPlatform platform;
    platform.folder = QStringLiteral(QUILLMOOR_BIN_DIR);
    StartDialog start(platform);
    start.show();
    QApplication::processEvents();
    start.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(level);
    start.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    QApplication::processEvents();
    figures.open = timer.nsecsElapsed() / 1e6;
    if (!start.mapWindow() || !start.mapWindow()->isVisible()
        || !platform.texts(ScriptedPlatform::Kind::Inform).isEmpty()) {
        std::fprintf(stderr, "studiobench: %s did not open cleanly\n", qPrintable(level));
        std::exit(1);
    }

    platform.answers.enqueue(Platform::Answer::No);
    timer.restart();
    start.mapWindow()->findChild<QPushButton *>(QStringLiteral("Command83"))->click();
    figures.save = timer.nsecsElapsed() / 1e6;
    if (platform.texts(ScriptedPlatform::Kind::Ask).size() != 1) {
        std::fprintf(stderr, "studiobench: %s was not saved\n", qPrintable(level));
        std::exit(1);
    }
    return figures;
}

void report(const char *what, const QString &level, int runs)
{
    QList<double> open;
    QList<double> save;
    run(level); // warms the caches: the pictures, the fonts, the file
    for (int i = 0; i < runs; ++i) {
        const Figures figures = run(level);
        open << figures.open;
        save << figures.save;
    }
    const double size = QFileInfo(level).size() / (1024.0 * 1024.0);
    std::printf("%-26s %6.2f MB  open %8.1f ms  save %7.1f ms", what, size, median(open), median(save));
    // Per megabyte, for the levels where the size is what costs.
    if (size >= 0.5)
        std::printf("  (%5.1f + %5.1f ms per MB)", median(open) / size, median(save) / size);
    std::printf("\n");
}

// One process of figure 0: shows the window, and ends as soon as it is on
// the screen, so that closing down costs nothing in either case.
[[noreturn]] void showAndExit(QWidget &window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    std::fflush(stdout);
    std::_Exit(0);
}

int show(int argc, char *argv[], const QString &which)
{
    QApplication app(argc, argv);
    if (which == QLatin1String("empty")) {
        QWidget window;
        showAndExit(window);
    }
    // As the studio's main does.
    QtPlatform platform(QStringLiteral("Quillmoor Studio"));
    StartDialog start(platform);
    showAndExit(start);
}

// The processor time of the children waited for so far, in ms.
double childrenCpu()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Figure 0: fresh processes of this program, alternating between the two
// windows so that both see the same state of the machine. The processor time
// is shown too: on a busy machine it varies less than the time taken.
void reportStart(const QString &self, int runs)
{
    QList<double> times[2];
    QList<double> cpu[2];
    const QStringList which{QStringLiteral("empty"), QStringLiteral("start")};
    for (int i = -1; i < runs * 3; ++i) {
        for (int w = 0; w < 2; ++w) {
            const double cpuBefore = childrenCpu();
            QElapsedTimer timer;
            timer.start();
            QProcess child;
            child.start(self, {QStringLiteral("--show"), which.at(w)});
            if (!child.waitForFinished(30000) || child.exitCode() != 0) {
                std::fprintf(stderr, "studiobench: showing the %s window failed\n", qPrintable(which.at(w)));
                std::exit(1);
            }
            // The first round only warms the caches.
            if (i >= 0) {
                times[w] << timer.nsecsElapsed() / 1e6;
                cpu[w] << childrenCpu() - cpuBefore;
            }
        }
    }
    const double empty = median(times[0]);
    const double start = median(times[1]);
    std::printf("%-26s %8.1f ms  (processor %5.1f ms)\n", "empty Qt window shown", empty, median(cpu[0]));
    std::printf("%-26s %8.1f ms  (processor %5.1f ms)  %.2f times the empty window (processor %.2f)\n",
                "start dialog shown", start, median(cpu[1]), start / empty, median(cpu[1]) / median(cpu[0]));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--show"))
        return show(argc, argv, QString::fromLatin1(argv[2]));
    QApplication app(argc, argv);
    // The offscreen platform's notes about window hints are no figures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg && !message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    QTemporaryDir folder;
    const QString largest = folder.filePath(QStringLiteral("largest.qw"));
    if (!write(largest, largestLevel()))
        return 1;
    QStringList huge;
    for (int megabytes : {1, 5, 10}) {
        huge << folder.filePath(QStringLiteral("narrative-%1MB.qw").arg(megabytes));
        if (!write(huge.last(), hugeNarrative(megabytes)))
            return 1;
    }

    std::printf("Medians of %d runs of a fresh process, from its start to the window shown:\n", runs * 3);
    reportStart(QCoreApplication::applicationFilePath(), runs);
    std::printf("Medians of %d runs; open = start dialog created to map window shown, save = the save button.\n",
                runs);
    report("new level", folder.filePath(QStringLiteral("new.qw")), runs);
    const QString bundled = QStringLiteral(QUILLMOOR_BIN_DIR "/QUILLMOOR.qw");
    if (QFile::exists(bundled)) {
        // A copy, so the save does not touch the build's own file.
        const QString copy = folder.filePath(QStringLiteral("QUILLMOOR.qw"));
        QFile::copy(bundled, copy);
        report("QUILLMOOR.qw", copy, runs);
    }
    report("largest legal level", largest, runs);
    for (int i = 0; i < huge.size(); ++i)
        report(qPrintable(QStringLiteral("one %1 MB narrative").arg(QList<int>{1, 5, 10}.at(i))), huge.at(i), runs);
    return 0;
}
