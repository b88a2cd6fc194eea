#include "window/readingarea/ScreenReading.h"

#include "formats/TextRecognition.h"
#include "core/Errors.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <memory>

namespace {

// A drag shorter than this is a click, not a rectangle.
constexpr int SmallestDrag = 4;

// The recognised paragraphs one a line, on a thread of its own while the windows are painted but take no input.
QString recogniseInBackground(const QImage& image, QString* failure)
{
    QString text;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            const RecognisedPage page = recognisePicture(image);
            QStringList paragraphs;
            for (const TextBlock& block : paragraphsFromPages({page.text}))
                paragraphs << block.text;
            text = paragraphs.join(QLatin1Char('\n'));
        } catch (const ParlivoError& error) {
            *failure = error.message();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    return text;
}

} // namespace

QImage grabScreen(QString* failure)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    // Wayland gives a program no picture of the screen unless a desktop portal is asked, with its own question.
    QImage image;
    if (screen && !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        image = screen->grabWindow(0).toImage();
    if (image.isNull()) {
        *failure = QCoreApplication::translate(
            "ScreenReading", "Parlivo cannot see the screen: this desktop does not let programs take a picture "
                             "of it. Take a screenshot with the desktop's own tool and open it in Parlivo "
                             "instead.");
        return {};
    }
    const double dpi = screen->logicalDotsPerInch() * screen->devicePixelRatio();
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

ScreenAreaPicker::ScreenAreaPicker(const QImage& screen) : mScreen(screen)
{
    setObjectName(QStringLiteral("ScreenAreaPicker"));
    setWindowTitle(tr("Read from screen"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);

    // What to do, in words: a dimmed screen alone tells the user nothing.
    const QString instruction = tr("Drag over the text you want to hear. Press Escape to cancel.");
    setAccessibleDescription(instruction);
    mInstruction = new QLabel(instruction, this);
    mInstruction->setObjectName(QStringLiteral("labScreenInstruction"));
    mInstruction->setAttribute(Qt::WA_TransparentForMouseEvents);
    mInstruction->setStyleSheet(QStringLiteral("QLabel { background: rgba(0, 0, 0, 200); color: white; "
                                               "border: 2px solid white; border-radius: 8px; padding: 10px 16px; }"));
    QFont font = mInstruction->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    mInstruction->setFont(font);
    mInstruction->adjustSize();
}

void ScreenAreaPicker::resizeEvent(QResizeEvent*)
{
    placeInstruction();
}

// Centred near the top of the screen, or near the bottom when the rectangle being dragged reaches it.
void ScreenAreaPicker::placeInstruction()
{
    const int margin = 24;
    const int left = (width() - mInstruction->width()) / 2;
    QRect place(QPoint(left, margin), mInstruction->size());
    if (mDragging && place.adjusted(-margin, -margin, margin, margin).intersects(QRect(mStart, mEnd).normalized()))
        place.moveBottom(height() - 1 - margin);
    if (mInstruction->geometry() != place)
        mInstruction->setGeometry(place);
}

QRect ScreenAreaPicker::pick()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    show();
    raise();
    activateWindow();
    setFocus();
    QEventLoop loop;
    while (!mDone && isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    hide();
    if (!mChosen)
        return {};
    // The widget counts in logical pixels, the picture in the screen's own.
    const double scale = width() > 0 ? double(mScreen.width()) / width() : 1.0;
    const QRect logical = QRect(mStart, mEnd).normalized();
    const QRect device(qRound(logical.x() * scale), qRound(logical.y() * scale), qRound(logical.width() * scale),
                       qRound(logical.height() * scale));
    return device.intersected(mScreen.rect());
}

void ScreenAreaPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), mScreen);
    // The screen dimmed but for the part chosen.
    QRegion dimmed(rect());
    const QRect chosen = QRect(mStart, mEnd).normalized();
    if (mDragging)
        dimmed -= chosen;
    painter.setClipRegion(dimmed);
    painter.fillRect(rect(), QColor(0, 0, 0, 90));
    painter.setClipping(false);
    if (mDragging) {
        painter.setPen(QPen(Qt::red, 2));
        painter.drawRect(chosen);
    }
}

void ScreenAreaPicker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return finish(false);
    mStart = mEnd = event->position().toPoint();
    mDragging = true;
    update();
}

void ScreenAreaPicker::mouseMoveEvent(QMouseEvent* event)
{
    if (!mDragging)
        return;
    mEnd = event->position().toPoint();
    placeInstruction();
    update();
}

void ScreenAreaPicker::mouseReleaseEvent(QMouseEvent* event)
{
    if (!mDragging)
        return;
    mEnd = event->position().toPoint();
    const QRect chosen = QRect(mStart, mEnd).normalized();
    finish(chosen.width() >= SmallestDrag && chosen.height() >= SmallestDrag);
}

void ScreenAreaPicker::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        finish(false);
}

void ScreenAreaPicker::finish(bool chosen)
{
    mChosen = chosen;
    mDone = true;
}

ScreenText readScreenArea()
{
    ScreenText result;
    const QImage screen = grabScreen(&result.failure);
    if (screen.isNull())
        return result;
    ScreenAreaPicker picker(screen);
    const QRect area = picker.pick();
    if (area.isEmpty()) {
        result.cancelled = true;
        return result;
    }
    result.text = recogniseInBackground(screen.copy(area), &result.failure);
    if (result.text.isEmpty() && result.failure.isEmpty())
        result.failure =
            QCoreApplication::translate("ScreenReading", "No text was found in the part of the screen chosen.");
    return result;
}
