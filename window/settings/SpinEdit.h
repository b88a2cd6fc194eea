#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A whole-number field with up and down arrows. The arrows and the arrow keys step within the range; typed
// text may leave the range until the focus leaves the field, which then sets the nearer bound (an empty
// field gets back the last number it held). Every change of the text, typed or set, emits changed().
class SpinEdit : public QWidget
{
    Q_OBJECT
public:
    SpinEdit(int minValue, int maxValue, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* editor() const { return mEdit; }
    int minValue() const { return mMin; }
    int maxValue() const { return mMax; }
    void stepBy(int steps);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void settleInRange();
    void remember();

    QLineEdit* mEdit = nullptr;
    QToolButton* mUp = nullptr;
    QToolButton* mDown = nullptr;
    int mMin;
    int mMax;
    int mLastNumber;
};
