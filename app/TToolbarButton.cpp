#include "app/TToolbarButton.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>

TToolbarButton::TToolbarButton(const QString& caption, QWidget* parent) : QToolButton(parent)
{
    setText(caption);
    setFixedSize(100, 50);
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void TToolbarButton::setDropDownMenu(QMenu* menu)
{
    FDropDown = menu;
    update();
}

void TToolbarButton::mousePressEvent(QMouseEvent* event)
{
    if (FDropDown && event->button() == Qt::LeftButton && event->position().x() >= width() - DropDownWidth) {
        setDown(true);
        FDropDown->exec(mapToGlobal(QPoint(0, height())));
        setDown(false);
        return;
    }
    QToolButton::mousePressEvent(event);
}

void TToolbarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);

    painter.setRenderHint(QPainter::Antialiasing);
    // A command that cannot run now is drawn faint, whatever colours the window's scheme gives its text.
    QColor ink = palette().color(QPalette::Active, QPalette::ButtonText);
    if (!isEnabled())
        ink.setAlphaF(0.35);
    painter.setPen(ink);
    painter.setFont(font());
    const int textWidth = FDropDown ? width() - DropDownWidth : width();
    painter.drawText(QRect(8, 0, textWidth - 10, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (FDropDown) {
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
}
