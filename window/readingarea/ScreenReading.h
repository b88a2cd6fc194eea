#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

class QLabel;

// "Read from screen": the user drags a rectangle over a picture of the whole screen, and the text in it is
// recognised.

// What was read from the screen: the recognised text (paragraphs one a line), or why there is none.
struct ScreenText
{
    QString text;
    QString failure; // for the user: the screen cannot be grabbed, or no text was found
    bool cancelled = false;
};

// The whole primary screen as it is now, in device pixels; null, with `failure` set, where the desktop gives no
// picture of the screen (Wayland without a portal).
QImage grabScreen(QString* failure);

// A window over the whole screen that shows its picture, says what to do, and lets the user drag a rectangle over
// it; Escape or a click without a drag cancels.
class ScreenAreaPicker : public QWidget
{
    Q_OBJECT
public:
    explicit ScreenAreaPicker(const QImage& screen);
    // Shows the window and waits for the user's rectangle, in the picture's pixels; empty when cancelled.
    QRect pick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void finish(bool chosen);
    void placeInstruction();

    QImage mScreen;
    QPoint mStart;
    QPoint mEnd;
    bool mDragging = false;
    bool mDone = false;
    bool mChosen = false;
    QLabel* mInstruction = nullptr;
};

// Grabs the screen, lets the user choose the part to read and recognises its text on a thread of its own while
// the windows stay painted.
ScreenText readScreenArea();
