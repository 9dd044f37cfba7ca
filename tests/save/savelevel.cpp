// SPDX-License-Identifier: MIT
// Saves a large level through the studio's own document, as the author does:
// the level file (when there is one) is opened, every location, item and rule
// is edited to the new version, and the document saves it. The fault tests
// kill it while it saves, or run it with too little room for the file.
//   savelevel FILE VERSION [--limit MAX-FILE-BYTES] [--then OTHER-FILE]
// Prints "writing" once the edits are made and the save begins, and "saved"
// once the file is in place; exits 0 when saved, 1 with the error on standard
// error when not. After a failed save it prints "still modified" when the
// document still counts its edits unsaved, and with --then saves them again,
// with room enough, to OTHER-FILE, printing "saved elsewhere" (exit 1 still,
// for the first save; 3 when the second fails too).
#include "biglevel.h"
#include "leveldocument.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>

namespace {

// Opens the level at path, as the studio does, and edits it into level.
void edit(LevelDocument &document, const QString &path, const Level &level)
{
    if (QFileInfo::exists(path))
        document.loadgame(path);
    document.levelfile = path;
    for (int i = 0; i < Level::LocationCount; ++i)
        document.updategrid(GridRef::fromIndex(i), level.records[i], 0);
    document.updateitems(level.items, level.combos);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const qsizetype limitAt = args.indexOf(QStringLiteral("--limit"));
    const qsizetype thenAt = args.indexOf(QStringLiteral("--then"));
    if ((limitAt > 0 && limitAt + 1 >= args.size()) || (thenAt > 0 && thenAt + 1 >= args.size()))
        return 2;

    LevelDocument document;
    edit(document, args.at(1), bigLevel(args.at(2).toInt(), BigLevelSize));

    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    if (limitAt > 0) {
        // A disk that fills up: writing past the limit fails with EFBIG. Only
        // the soft limit is lowered, so a later save can have its room back.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before;
        limit.rlim_cur = args.at(limitAt + 1).toULongLong();
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::puts("writing");
    std::fflush(stdout);
    const LevelDocument::SaveResult result = document.save();
    if (result.saved) {
        std::puts("saved");
        std::fflush(stdout);
        return 0;
    }
    std::fprintf(stderr, "%s\n", qPrintable(result.error));
    if (document.isModified())
        std::puts("still modified");
    std::fflush(stdout);
    if (thenAt > 0) {
        setrlimit(RLIMIT_FSIZE, &before);
        document.levelfile = args.at(thenAt + 1);
        const LevelDocument::SaveResult again = document.save();
        if (!again.saved) {
            std::fprintf(stderr, "%s\n", qPrintable(again.error));
            return 3;
        }
        std::puts("saved elsewhere");
        std::fflush(stdout);
    }
    return 1;
}
