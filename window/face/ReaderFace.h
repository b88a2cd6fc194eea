#pragma once

#include "window/face/VisemeImages.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

// The reader: the figure beside the reading area whose mouth moves with the voice. It keeps what is on
// screen in a canvas, because a viseme draws at once over what the figure already shows (so a mouth image
// leaves closed eyes closed), while a repaint asked for by the window system redraws the whole figure with
// the mouth of the last viseme reported, or at rest once the utterance has ended. Tab reaches it, Space or Enter acts
// as its click and a ring in the panel's text colour marks the focus.
class ReaderFace : public QWidget
{
    Q_OBJECT
public:
    // Where every image of the list is drawn: its left 20 columns fall outside the box.
    static constexpr QPoint ImageOrigin{-20, 0};

    explicit ReaderFace(QWidget* parent = nullptr);

    // The voice's viseme event: draws the viseme's mouth image and its eye overlay over the figure at once.
    // Identifiers the voice never reports (outside 0 to 21) are ignored.
    void SpVoiceViseme(int visemeId);
    // The end of an utterance: the whole figure at rest, until the next viseme. The last viseme is kept.
    void DrawRestingFace();

    int CurrentViseme() const { return mCurrentViseme; }
    // What the box shows, including its transparent background.
    const QImage& Canvas() const { return mCanvas; }
    const ImageList& Images() const { return ilAnim; }

    QSize sizeHint() const override { return {121, 137}; }

signals:
    // A left click; the first click of a double click counts as one, the second does not.
    void clicked();
    void doubleClicked();
    void rightClicked(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void imgReaderPaint();
    void DrawWholeFigure();
    void DrawMouth(int image);
    void DrawImage(int index);
    void PrepareCanvas();
    void ShowCanvas();

    ImageList ilAnim;
    QImage mCanvas;
    int mCurrentViseme = 0;
    bool mResting = true; // no utterance is under way: repaints show the figure at rest
    bool mShowCanvasOnly = false;
    bool mLeftPressed = false;
};
