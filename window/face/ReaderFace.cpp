#include "window/face/ReaderFace.h"

#include "speech/VisemeTable.h"

#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Screen readers announce the face as the button it acts as; pressing it is a click.
class ReaderFaceAccessible : public QAccessibleWidget
{
public:
    explicit ReaderFaceAccessible(ReaderFace* face) : QAccessibleWidget(face, QAccessible::Button) {}

    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << pressAction(); }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            emit static_cast<ReaderFace*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* readerFaceAccessible(const QString&, QObject* object)
{
    auto* face = qobject_cast<ReaderFace*>(object);
    return face ? new ReaderFaceAccessible(face) : nullptr;
}
} // namespace

ReaderFace::ReaderFace(QWidget* parent) : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(readerFaceAccessible), true);
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("imgReader"));
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Reader"));
    // Only the keyboard gives it the focus: a click must leave the caret in the reading area.
    setFocusPolicy(Qt::TabFocus);
}

void ReaderFace::SpVoiceViseme(int visemeId)
{
    const int image = VisemeImage(visemeId);
    if (image < 0)
        return;
    mCurrentViseme = visemeId;
    mResting = false;
    PrepareCanvas();
    DrawMouth(image);
    ShowCanvas();
}

void ReaderFace::DrawRestingFace()
{
    mResting = true;
    PrepareCanvas();
    DrawImage(0);
    ShowCanvas();
}

// What the box shows after being covered and uncovered.
void ReaderFace::imgReaderPaint()
{
    PrepareCanvas();
    DrawWholeFigure();
}

// The whole figure, then, while the voice speaks, the mouth of the last viseme and its eyes. Once an utterance
// has ended the figure stays at rest, however often the window system asks for it again.
void ReaderFace::DrawWholeFigure()
{
    DrawImage(0);
    if (!mResting)
        DrawMouth(VisemeImage(mCurrentViseme));
}

void ReaderFace::DrawMouth(int image)
{
    DrawImage(image);
    DrawImage(EyeOverlay(image));
}

void ReaderFace::DrawImage(int index)
{
    // The whole figure covers everything a part image draws; starting it on an empty box keeps the soft
    // edges of its outline from darkening each time it is drawn again.
    if (index == 0)
        mCanvas.fill(Qt::transparent);
    QPainter painter(&mCanvas);
    ilAnim.Draw(painter, ImageOrigin, index);
}

// A new canvas (the first, or one for another size or screen density) starts with the whole figure, as the
// box shows it, so a part image never lands on an empty box. Around the figure it is transparent, so the
// reader panel's colour shows.
void ReaderFace::PrepareCanvas()
{
    const qreal dpr = devicePixelRatioF();
    if (ilAnim.Count() == 0 || !qFuzzyCompare(ilAnim.Image(0).devicePixelRatio(), dpr))
        ilAnim = MakeReaderFaceImages(dpr);
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (mCanvas.size() == pixels && qFuzzyCompare(mCanvas.devicePixelRatio(), dpr))
        return;
    mCanvas = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    mCanvas.setDevicePixelRatio(dpr);
    DrawWholeFigure();
}

// The canvas reaches the screen before the handler returns, so the mouth keeps pace with the voice.
void ReaderFace::ShowCanvas()
{
    mShowCanvasOnly = true;
    repaint();
    mShowCanvasOnly = false;
}

void ReaderFace::paintEvent(QPaintEvent*)
{
    if (!mShowCanvasOnly)
        imgReaderPaint();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), mCanvas);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void ReaderFace::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        mLeftPressed = true;
    QWidget::mousePressEvent(event);
}

void ReaderFace::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const bool click = mLeftPressed && rect().contains(event->position().toPoint());
    mLeftPressed = false;
    if (click)
        emit clicked();
}

// Qt replaces the second press of a double click by this event; its release is no click of its own.
void ReaderFace::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    mLeftPressed = false;
    emit doubleClicked();
}

void ReaderFace::contextMenuEvent(QContextMenuEvent* event)
{
    emit rightClicked(event->globalPos());
}

void ReaderFace::keyPressEvent(QKeyEvent* event)
{
    const bool alone = !(event->modifiers() & ~Qt::KeypadModifier);
    if (alone && !event->isAutoRepeat() &&
        (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ReaderFace::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void ReaderFace::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
