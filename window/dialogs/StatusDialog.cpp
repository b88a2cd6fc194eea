#include "window/dialogs/StatusDialog.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

StatusDialog::StatusDialog(QWidget* parent)
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
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(24, 74, 280, 22);
    progressBar->setRange(0, 1000);
    progressBar->setTextVisible(false);
    progressBar->hide();
    buCancel = new QPushButton(tr("Cancel"), this);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    buCancel->setGeometry(318, 71, 88, 28);
    buCancel->hide();
    connect(buCancel, &QPushButton::clicked, this, [this] {
        mCancelled = true;
        buCancel->setEnabled(false);
    });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void StatusDialog::showProgress()
{
    setWindowModality(Qt::ApplicationModal);
    progressBar->show();
    buCancel->show();
    if (isVisible()) {
        hide();
        show();
    }
}

void StatusDialog::setProgress(double share)
{
    if (share < 0) {
        progressBar->setRange(0, 0);
    } else {
        progressBar->setRange(0, 1000);
        progressBar->setValue(int(qBound(0.0, share, 1.0) * 1000));
    }
    QCoreApplication::processEvents();
}

StatusHandle ShowStatus(const QString& caption, const QString& message)
{
    try {
        auto* window = new StatusDialog();
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
