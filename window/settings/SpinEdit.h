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
    QLineEdit* editor() const { return FEdit; }
    int minValue() const { return FMin; }
    int maxValue() const { return FMax; }
    void stepBy(int steps);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void settleInRange();
    void remember();

    QLineEdit* FEdit = nullptr;
    QToolButton* FUp = nullptr;
    QToolButton* FDown = nullptr;
    int FMin;
    int FMax;
    int FLastNumber;
};
