#pragma once

#include <QListWidget>

// The small list of predicted words shown under the caret. It never takes the focus: the reading area keeps it,
// and the writing aids steer the list with the keys typed there.
class PredictionList : public QListWidget
{
    Q_OBJECT
public:
    explicit PredictionList(QWidget* parent);

    // Shows the words, numbered from 1, with their top left corner at `at` (kept inside the parent).
    void offer(const QStringList& words, const QPoint& at);
    QString word(int row) const;
    QStringList words() const;

private:
    QPoint mOfferedAt;
};
