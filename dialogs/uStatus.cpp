#include "dialogs/uStatus.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QScreen>

TfrmStatus::TfrmStatus(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmStatus"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(429, 123);
    setFont(QFont(QStringLiteral("MS Sans Serif"), -1));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(2, 48, 425, 16);
    Label1->setAlignment(Qt::AlignCenter);
    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPixelSize(13);
    Label1->setFont(labelFont);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

StatusHandle ShowStatus(const QString& caption, const QString& message)
{
    try {
        auto* window = new TfrmStatus();
        window->setWindowTitle(caption);
        window->Label1->setText(message);
        window->show();
        window->raise();
        // Paint it before the caller's blocking work begins.
        QCoreApplication::processEvents();
        return window;
    } catch (...) {
        return {};
    }
}

void CloseStatus(const StatusHandle& handle)
{
    if (handle)
        handle->close();
}
