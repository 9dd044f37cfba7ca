// SPDX-License-Identifier: MIT
// Draws the programs' desktop icons into an icon theme folder: a PNG at each
// size given and one scalable SVG of each, laid out as the hicolor theme wants
// them (hicolor/48x48/apps/quillmoorplayer.png). Lists the files written,
// relative to the folder, one a line, in the list file.
#include "iconartist.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>

namespace {

bool writeSvg(const QString &path, IconArtist::Icon icon)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(IconArtist::Canvas, IconArtist::Canvas));
    svg.setViewBox(QRect(0, 0, IconArtist::Canvas, IconArtist::Canvas));
    svg.setTitle(IconArtist::name(icon));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    IconArtist::paint(painter, icon, IconArtist::Canvas);
    return painter.end();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: icongen FOLDER LIST [SIZE...]\n");
        return 2;
    }

    // The SVG generator writes the painter's font, which wants an
    // application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "minimal");
    QGuiApplication app(argc, argv);

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QByteArray written;
    auto folderFor = [&folder](const QString &size) {
        const QString path = QStringLiteral("hicolor/%1/apps").arg(size);
        return folder.mkpath(path) ? path : QString();
    };
    for (const IconArtist::Icon icon : {IconArtist::Icon::Player, IconArtist::Icon::Studio}) {
        for (int i = 3; i < argc; ++i) {
            const int side = QByteArray(argv[i]).toInt();
            if (side < 16 || side > 1024) {
                std::fprintf(stderr, "icongen: \"%s\" is no icon size (16 to 1024)\n", argv[i]);
                return 2;
            }
            const QString place = folderFor(QStringLiteral("%1x%1").arg(side));
            const QString file = place + QLatin1Char('/') + IconArtist::name(icon) + QStringLiteral(".png");
            QImageWriter writer(folder.filePath(file), "png");
            if (place.isEmpty() || !writer.write(IconArtist::image(icon, side))) {
                std::fprintf(stderr, "icongen: cannot write %s: %s\n", qPrintable(folder.filePath(file)),
                             qPrintable(writer.errorString()));
                return 1;
            }
            written += file.toUtf8() + '\n';
        }
        const QString place = folderFor(QStringLiteral("scalable"));
        const QString file = place + QLatin1Char('/') + IconArtist::name(icon) + QStringLiteral(".svg");
        if (place.isEmpty() || !writeSvg(folder.filePath(file), icon)) {
            std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(folder.filePath(file)));
            return 1;
        }
        written += file.toUtf8() + '\n';
    }

    // Written last, so that the list stands for a complete set of icons.
    QSaveFile list(QString::fromLocal8Bit(argv[2]));
    if (!list.open(QIODevice::WriteOnly) || list.write(written) != written.size() || !list.commit()) {
        std::fprintf(stderr, "icongen: cannot write %s: %s\n", argv[2], qPrintable(list.errorString()));
        return 1;
    }
    return 0;
}
