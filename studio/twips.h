// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

// The studio's windows are laid out in twips, 15 to a pixel at 96 dots per
// inch, with fonts of that desktop; these turn both into pixels, so the text
// keeps fitting its fixed boxes whatever the screen's setting.
class Twips
{
public:
    static constexpr int PerPixel = 15;

    static constexpr int px(int twips) { return twips / PerPixel; }
    static QRect rect(int left, int top, int width, int height)
    {
        return {px(left), px(top), px(width), px(height)};
    }

    // A sans-serif font of points size as it is at 96 dots per inch; where the
    // families named are missing, faces of about their width stand in.
    static QFont font(const QStringList &families, qreal points, bool bold)
    {
        QFont font;
        font.setFamilies(families
                         + QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                       QStringLiteral("Helvetica"), QStringLiteral("Nimbus Sans"),
                                       QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(qRound(points * 96 / 72));
        font.setBold(bold);
        return font;
    }
};
