#pragma once

#include <QLabel>

// The status bar's one line. A text wider than the window is cut short with "…" instead of widening the window;
// the whole of it stays the label's text, so a screen reader hears it all, and the tooltip shows it.
class StatusLine : public QLabel
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as drawn: the whole text when it fits, else its start and "…".
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
};
