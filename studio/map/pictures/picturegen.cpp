// SPDX-License-Identifier: MIT
// Draws the 96 location pictures into the folder given on the command line.
#include "locationartist.h"

#include <QDir>
#include <QImageWriter>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: picturegen FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "picturegen: cannot create the folder %s\n", argv[1]);
        return 1;
    }

    using Kind = LocationArtist::Kind;
    int written = 0;
    for (Kind kind : {Kind::Ordinary, Kind::Start, Kind::End}) {
        for (bool items : {false, true}) {
            for (int exits = 0; exits < 16; ++exits) {
                const LocationArtist::Location location{kind, items, (exits & 8) != 0, (exits & 4) != 0,
                                                        (exits & 2) != 0, (exits & 1) != 0};
                const QString path = folder.filePath(LocationArtist::fileName(location));
                QImageWriter writer(path, "bmp");
                if (!writer.write(LocationArtist::image(location))) {
                    std::fprintf(stderr, "picturegen: cannot write %s: %s\n", qPrintable(path),
                                 qPrintable(writer.errorString()));
                    return 1;
                }
                ++written;
            }
        }
    }
    std::printf("picturegen: %d location pictures in %s\n", written, qPrintable(folder.path()));
    return 0;
}
