#include "window/main/StatusLine.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

StatusLine::StatusLine(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QSize StatusLine::sizeHint() const
{
    return minimumSizeHint();
}

QSize StatusLine::minimumSizeHint() const
{
    // As high as a line of its type, as narrow as its frame: the window decides the width.
    const int frame = 2 * frameWidth();
    return {frame + qMax(0, indent()), frame + fontMetrics().height()};
}

QRect StatusLine::textRect() const
{
    return contentsRect().adjusted(qMax(0, indent()), 0, -qMax(0, indent()), 0);
}

QString StatusLine::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRect().width());
}

bool StatusLine::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // A text cut short is shown whole while the pointer rests on it; one that fits needs no tooltip.
        const auto* help = static_cast<QHelpEvent*>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void StatusLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}
