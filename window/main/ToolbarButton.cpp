#include "window/main/ToolbarButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>

ToolbarButton::ToolbarButton(const QString& caption, QWidget* parent) : QToolButton(parent)
{
    setText(caption);
    setFixedSize(100, 50);
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Only the keyboard moves the focus here: a click must leave the caret in the reading area.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void ToolbarButton::setDropDownMenu(QMenu* menu)
{
    mDropDown = menu;
    update();
}

void ToolbarButton::mousePressEvent(QMouseEvent* event)
{
    if (mDropDown && event->button() == Qt::LeftButton && event->position().x() >= width() - DropDownWidth) {
        setDown(true);
        mDropDown->exec(mapToGlobal(QPoint(0, height())));
        setDown(false);
        return;
    }
    QToolButton::mousePressEvent(event);
}

bool ToolbarButton::PopupDropDown()
{
    if (!mDropDown || !isEnabled())
        return false;
    mDropDown->popup(mapToGlobal(QPoint(0, height())));
    for (QAction* item : mDropDown->actions()) {
        if (item->isVisible() && item->isEnabled() && !item->isSeparator()) {
            mDropDown->setActiveAction(item);
            break;
        }
    }
    return true;
}

void ToolbarButton::keyPressEvent(QKeyEvent* event)
{
    const bool alone = !(event->modifiers() & ~Qt::KeypadModifier);
    if (alone && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        animateClick();
        return;
    }
    if ((event->modifiers() & Qt::AltModifier) && event->key() == Qt::Key_Down && PopupDropDown())
        return;
    QToolButton::keyPressEvent(event);
}

QRect ToolbarButton::captionRect() const
{
    const int textWidth = mDropDown ? width() - DropDownWidth : width();
    return {8, 0, textWidth - 10, height()};
}

QFont ToolbarButton::captionFont() const
{
    QFont type = font();
    const int room = captionRect().width();
    // Smaller a step at a time, never below a size a child can still read.
    while (QFontMetrics(type).horizontalAdvance(text()) > room) {
        if (type.pixelSize() > 0) {
            if (type.pixelSize() <= 9)
                break;
            type.setPixelSize(type.pixelSize() - 1);
        } else {
            if (type.pointSizeF() <= 7)
                break;
            type.setPointSizeF(type.pointSizeF() - 0.5);
        }
    }
    return type;
}

void ToolbarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.state &= ~QStyle::State_HasFocus; // the ring below is the focus mark
    style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);

    painter.setRenderHint(QPainter::Antialiasing);
    // A command that cannot run now is drawn faint, whatever colours the window's scheme gives its text.
    QColor ink = palette().color(QPalette::Active, QPalette::ButtonText);
    if (!isEnabled())
        ink.setAlphaF(0.35);
    painter.setPen(ink);
    painter.setFont(captionFont());
    painter.drawText(captionRect(), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (mDropDown) {
        const int left = width() - DropDownWidth;
        QColor rule = painter.pen().color();
        rule.setAlpha(90);
        painter.setPen(rule);
        painter.drawLine(left, 10, left, height() - 10);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        const QPointF centre(left + DropDownWidth / 2.0, height() / 2.0);
        const QPointF arrow[3] = {centre + QPointF(-5, -2), centre + QPointF(5, -2), centre + QPointF(0, 4)};
        painter.drawPolygon(arrow, 3);
    }
    if (hasFocus()) {
        // The caption's own colour contrasts with the button's background in every scheme, so the ring does too.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ink, 2));
        painter.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
    }
}
