// SPDX-License-Identifier: MIT
#include "locationsummary.h"

#include "locationpicture.h"

#include <QStringList>
#include <QTextDocument>

namespace {

// Longer than a tooltip line or a spoken description should run.
constexpr qsizetype MostShown = 300;
// Up to this a tooltip stays on one line.
constexpr qsizetype OneLine = 100;

QString title(GridRef at)
{
    return QStringLiteral("Location ") + QString::fromStdString(at.name());
}

QString exits(const LocationPicture &picture)
{
    QStringList open;
    for (Direction d : Directions) {
        if (picture.exits[int(d)])
            open << QLatin1String(directionName(d));
    }
    if (open.isEmpty())
        return QStringLiteral("no exits");
    if (open.size() == 1)
        return QStringLiteral("exit ") + open.front();
    const QString last = open.takeLast();
    return QStringLiteral("exits ") + open.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

} // namespace

QString LocationSummary::name(GridRef at, const LocationRecord &record, bool inUse)
{
    QStringList parts{title(at)};
    if (record.isBlank()) {
        // Blank records are not written: only the mark tells the author's intent.
        parts << (inUse ? QStringLiteral("in use, empty") : QStringLiteral("not used"));
        return parts.join(QStringLiteral(", "));
    }
    // The type the area editor would show, with the precedence the picture has.
    switch (record.editorKind(LocationRecord::Kind::Normal)) {
    case LocationRecord::Kind::Start:
        parts << QStringLiteral("start");
        break;
    case LocationRecord::Kind::End:
        parts << QStringLiteral("end of game");
        break;
    case LocationRecord::Kind::LoadLevel:
        parts << QStringLiteral("loads another level");
        break;
    default:
        break;
    }
    const LocationPicture picture = LocationPicture::of(record);
    parts << exits(picture);
    if (picture.items)
        parts << QStringLiteral("items");
    return parts.join(QStringLiteral(", "));
}

QString LocationSummary::narrativeLine(const LocationRecord &record)
{
    TextView narrative = record.editorNarrative();
    // Line breaks are CR LF, or "~" in a record a save left.
    const std::size_t end = narrative.find_first_of(U"\r\n~");
    narrative = text::trimSpaces(narrative.substr(0, end));
    const bool cut = qsizetype(narrative.size()) > MostShown;
    QString line = QString::fromUcs4(narrative.data(), cut ? MostShown : qsizetype(narrative.size()));
    if (cut)
        line += QChar(0x2026);
    return line;
}

QString LocationSummary::toolTip(GridRef at, const LocationRecord &record)
{
    const QString line = narrativeLine(record);
    if (line.isEmpty())
        return title(at);
    if (line.size() <= OneLine && !Qt::mightBeRichText(line))
        return line;
    return Qt::convertFromPlainText(line, Qt::WhiteSpaceNormal);
}
