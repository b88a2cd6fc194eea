#include "window/dialogs/AboutWindow.h"

#include "core/DesktopFiles.h"
#include "core/TextRoutines.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QFont verdana(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QFont& font, QPoint at)
{
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setFont(font);
    result->move(at);
    result->adjustSize();
    return result;
}
} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    // It has no title bar; a screen reader still announces it by name.
    setAccessibleName(tr("About Parlivo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(478 + 4, 438 + 4);
    setStyleSheet(
        QStringLiteral("AboutWindow { background: black; } QFrame#upper, QFrame#lower { background: white; }"));

    auto* upper = new QFrame(this);
    upper->setObjectName(QStringLiteral("upper"));
    upper->setGeometry(2, 2, 478, 224);
    Image1 = new QLabel(upper);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(39, 2, 400, 221);
    Image1->setPixmap(QPixmap(QStringLiteral(":/about/logo.jpg")));
    Image2 = new QLabel(upper);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(QPixmap(QStringLiteral(":/about/picture.jpg")));
    Image2->hide();

    auto* lower = new QFrame(this);
    lower->setObjectName(QStringLiteral("lower"));
    lower->setGeometry(2, 228, 478, 212);
    laProductName = label(lower, QStringLiteral("laProductName"), QString(), verdana(24), {12, 16});
    laVersion = label(lower, QStringLiteral("laVersion"), tr("Version 1.0"), verdana(13, true), {12, 59});
    laEdition = label(lower, QStringLiteral("laEdition"), QString(), verdana(12, true), {12, 114});
    QPalette navy = laEdition->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    laEdition->setPalette(navy);
    laEdition->setCursor(Qt::PointingHandCursor);
    laEdition->installEventFilter(this);
    auto* rule = new QFrame(lower);
    rule->setGeometry(12, 136, 454, 1);
    rule->setStyleSheet(QStringLiteral("background: #808080;"));
    label(lower, QStringLiteral("laRights"),
          tr("Parlivo reads your text aloud with a real voice.\n"
             "Free software for learners and their teachers.\n"
             "Speech by espeak-ng and Festival."),
          verdana(13), {12, 159});

    tiAbout = new QTimer(this);
    tiAbout->setSingleShot(true);
    tiAbout->setInterval(4000);
    connect(tiAbout, &QTimer::timeout, this, &QDialog::accept);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == laEdition && event->type() == QEvent::MouseButtonRelease)
        ShellOpen(QStringLiteral("https://espeak-ng.github.io/espeak-ng/"));
    return QDialog::eventFilter(watched, event);
}

void ShowAbout(const QString& edition, int milliseconds)
{
    auto* about = new AboutWindow();
    about->laProductName->setText(QStringLiteral("Parlivo"));
    about->laProductName->adjustSize();
    about->laEdition->setText(edition);
    about->laEdition->adjustSize();
    about->tiAbout->setInterval(milliseconds);
    about->tiAbout->start();
    about->exec();
}
