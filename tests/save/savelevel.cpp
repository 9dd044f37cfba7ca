// SPDX-License-Identifier: MIT
// Saves a large level the way the studio saves: the whole file is made
// first, then written through QSaveFile and committed, so that the old file
// is replaced only by the whole new one. The fault tests kill it while it
// writes, or run it with too little room for the file.
//   savelevel FILE VERSION [MAX-FILE-BYTES]
// Prints "writing" once the file is made and about to be written, and
// "saved" once it is in place; exits 0 when saved, 1 with the error on
// standard error when not.
#include "biglevel.h"
#include "levelwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>

namespace {

// The studio's save of its document, step for step.
QString save(const QString &levelfile, const Level &level)
{
    const std::string bytes = LevelWriter::write(level);
    std::puts("writing");
    std::fflush(stdout);
    const QString where = QDir::toNativeSeparators(levelfile);
    QSaveFile file(levelfile);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Could not save the level to \"%1\": %2.").arg(where, file.errorString());
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit()) {
        return QStringLiteral("Could not save the level to \"%1\": %2. The file on disk is unchanged.")
            .arg(where, file.errorString());
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    if (args.size() > 3) {
        // A disk that fills up: writing past the limit fails with EFBIG.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t most = args.at(3).toULongLong();
        const rlimit limit{most, most};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    const QString error = save(args.at(1), bigLevel(args.at(2).toInt(), BigLevelSize));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::puts("saved");
    std::fflush(stdout);
    return 0;
}
