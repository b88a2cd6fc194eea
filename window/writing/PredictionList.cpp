#include "window/writing/PredictionList.h"

PredictionList::PredictionList(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("lbWordPredictions"));
    setAccessibleName(tr("Word predictions"));
    setAccessibleDescription(
        tr("Up and Down choose a word and say it; Enter, Tab or its number inserts it; Escape hides"));
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    hide();
}

void PredictionList::offer(const QStringList& offered, const QPoint& at)
{
    // While typing the list mostly shows the same words, or as many, in the same place: it is changed in place,
    // not built again.
    if (isVisible() && offered == words() && mOfferedAt == at)
        return;
    mOfferedAt = at;
    while (count() > offered.size())
        delete takeItem(count() - 1);
    for (qsizetype i = 0; i < offered.size(); ++i) {
        QListWidgetItem* entry = i < count() ? item(int(i)) : new QListWidgetItem(this);
        entry->setText(QStringLiteral("%1  %2").arg(i + 1).arg(offered.at(i)));
        entry->setData(Qt::UserRole, offered.at(i));
    }
    setCurrentRow(-1);
    const int width = sizeHintForColumn(0) + 2 * frameWidth() + 8;
    const int height = sizeHintForRow(0) * count() + 2 * frameWidth();
    QWidget* area = parentWidget();
    QPoint place = at;
    if (area) {
        // Below the caret when it fits, else above its line; never past the right edge.
        if (place.y() + height > area->height())
            place.ry() -= height + fontMetrics().height() + 4;
        place.setX(qBound(0, place.x(), qMax(0, area->width() - width)));
        place.setY(qMax(0, place.y()));
    }
    setGeometry(QRect(place, QSize(width, height)));
    if (!isVisible()) {
        show();
        raise();
    }
}

QString PredictionList::word(int row) const
{
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(Qt::UserRole).toString() : QString();
}

QStringList PredictionList::words() const
{
    QStringList all;
    for (int row = 0; row < count(); ++row)
        all << word(row);
    return all;
}
