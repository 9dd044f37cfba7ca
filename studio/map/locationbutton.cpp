// SPDX-License-Identifier: MIT
#include "locationbutton.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

LocationButton::LocationButton(int row, int col, QWidget *parent)
    : QPushButton(parent)
    , locationRow(row)
    , locationCol(col)
{
    setBackColor(NotInUse);
    setToolTip(QStringLiteral("Location %1%2").arg(row).arg(QChar(u'A' + col - 1)));
}

quint32 LocationButton::backColor() const
{
    return property("backColor").value<quint32>();
}

void LocationButton::setBackColor(quint32 color)
{
    setProperty("backColor", QVariant::fromValue<quint32>(color));
    // Only black is ever given besides the standard colour; any value with the
    // top bit set names a desktop colour, shown as the standard button colour.
    QPalette colours;
    if ((color & 0x80000000u) == 0) {
        const QColor rgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
        colours.setColor(QPalette::Button, rgb);
        colours.setColor(QPalette::Window, rgb);
    }
    setPalette(colours);
    update();
}

void LocationButton::setPicture(const QString &name, const QPixmap &picture)
{
    setProperty("pictureName", name);
    shown = picture;
    update();
}

void LocationButton::clearPicture()
{
    setProperty("pictureName", QVariant());
    shown = QPixmap();
    update();
}

void LocationButton::keyPressEvent(QKeyEvent *event)
{
    // Arrows on the keypad count; with Ctrl, Alt or Shift they are not ours.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Up:
            Q_EMIT stepRequested(Direction::North);
            return;
        case Qt::Key_Down:
            Q_EMIT stepRequested(Direction::South);
            return;
        case Qt::Key_Right:
            Q_EMIT stepRequested(Direction::East);
            return;
        case Qt::Key_Left:
            Q_EMIT stepRequested(Direction::West);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Held down, the key opens the location once.
            if (!event->isAutoRepeat())
                click();
            return;
        default:
            break;
        }
    }
    QPushButton::keyPressEvent(event);
}

void LocationButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    if (!shown.isNull()) {
        // The picture sits in the middle inside the frame, made smaller only
        // if it would not fit, and moves with the button when pressed.
        const QRect room = rect().adjusted(3, 3, -3, -3);
        QSize size = shown.deviceIndependentSize().toSize();
        if (size.width() > room.width() || size.height() > room.height())
            size.scale(room.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(), size);
        target.moveCenter(room.center());
        if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
            target.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                             style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        }
        painter.drawPixmap(target, shown);
    }

    // The keyboard's place on the map, once the author moves by keyboard: a
    // ring in the highlight colour, seen on black and on the picture alike.
    if ((option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 3, 3);
    }
}
