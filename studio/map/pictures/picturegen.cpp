// SPDX-License-Identifier: MIT
// Draws the 96 location pictures into the folder given on the command line,
// and lists their file names, one a line, in the list file given after it;
// or, with --sample, the start dialog's corner of a map into a bitmap file.
#include "locationartist.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: picturegen FOLDER LIST\n       picturegen --sample FILE.bmp\n");
        return 2;
    }
    if (QLatin1String(argv[1]) == QLatin1String("--sample")) {
        QImageWriter writer(QString::fromLocal8Bit(argv[2]), "bmp");
        if (!writer.write(LocationArtist::mapSample())) {
            std::fprintf(stderr, "picturegen: cannot write %s: %s\n", argv[2], qPrintable(writer.errorString()));
            return 1;
        }
        return 0;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "picturegen: cannot create the folder %s\n", argv[1]);
        return 1;
    }

    QByteArray names;
    const std::vector<LocationPicture> pictures = LocationPicture::all();
    for (const LocationPicture &picture : pictures) {
        const std::string name = picture.fileName();
        const QString path = folder.filePath(QString::fromStdString(name));
        QImageWriter writer(path, "bmp");
        if (!writer.write(LocationArtist::image(picture))) {
            std::fprintf(stderr, "picturegen: cannot write %s: %s\n", qPrintable(path),
                         qPrintable(writer.errorString()));
            return 1;
        }
        names += QByteArray::fromStdString(name) + '\n';
    }

    // Written last, so that the list stands for a complete set of pictures.
    QSaveFile list(QString::fromLocal8Bit(argv[2]));
    if (!list.open(QIODevice::WriteOnly) || list.write(names) != names.size() || !list.commit()) {
        std::fprintf(stderr, "picturegen: cannot write %s: %s\n", argv[2], qPrintable(list.errorString()));
        return 1;
    }
    std::printf("picturegen: %zu location pictures in %s\n", pictures.size(), qPrintable(folder.path()));
    return 0;
}
