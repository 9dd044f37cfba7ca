// SPDX-License-Identifier: MIT
#pragma once

#include "direction.h"

#include <QPixmap>
#include <QPushButton>

// One location of the map grid: a push button without text that shows the
// location's in-use colour and its picture. The colour value is kept in the
// dynamic property "backColor", the picture's file name in "pictureName".
// On the keyboard, the arrow keys ask to move to the neighbouring location and
// Enter clicks, as Space does.
class LocationButton : public QPushButton
{
    Q_OBJECT

public:
    // The two colour values the editor uses: black for a location in use, the
    // desktop's push-button colour for one that is not.
    static constexpr quint32 InUse = 0;
    static constexpr quint32 NotInUse = 0x8000000F;

    LocationButton(int row, int col, QWidget *parent = nullptr);

    int row() const { return locationRow; }
    int col() const { return locationCol; }

    quint32 backColor() const;
    void setBackColor(quint32 color);
    // name is kept even when the picture could not be loaded (null pixmap).
    void setPicture(const QString &name, const QPixmap &picture);
    void clearPicture();
    const QPixmap &picture() const { return shown; }

Q_SIGNALS:
    // An arrow key: the focus should go to the location that way.
    void stepRequested(Direction towards);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int locationRow;
    int locationCol;
    QPixmap shown;
};
