#include "window/main/DesktopService.h"

#include "window/main/MainWindow.h"
#include "core/GivenText.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

const QString DesktopService::ServiceName = QStringLiteral("org.parlivo.Reader");
const QString DesktopService::ObjectPath = QStringLiteral("/org/parlivo/Reader");

namespace {
QString stateName(ReadingState state)
{
    switch (state) {
    case ReadingState::Idle:
        return QStringLiteral("Idle");
    case ReadingState::Reading:
        return QStringLiteral("Reading");
    case ReadingState::Paused:
        return QStringLiteral("Paused");
    case ReadingState::Speaking:
        return QStringLiteral("Speaking");
    }
    return {};
}
} // namespace

DesktopService::DesktopService(MainWindow& window, QObject* parent) : QObject(parent), mWindow(window)
{
    connect(&window.model(), &ReadingModel::stateChanged, this, [this](ReadingState state) {
        const QString name = stateName(state);
        emit ReadingStateChanged(name);
        // Clients that watch properties (as desktop panels do) hear of it the standard way too.
        QDBusMessage changed = QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("PropertiesChanged"));
        changed << ServiceName << QVariantMap{{QStringLiteral("ReadingState"), name}} << QStringList();
        QDBusConnection::sessionBus().send(changed);
    });
}

bool DesktopService::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(ObjectPath, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties))
        return false;
    if (!bus.registerService(ServiceName)) {
        bus.unregisterObject(ObjectPath);
        return false;
    }
    return true;
}

QString DesktopService::readingState() const
{
    return stateName(mWindow.model().state());
}

bool DesktopService::windowFree()
{
    // A question of Parlivo's is open: the caller is told at once rather than kept waiting behind it.
    if (!QApplication::activeModalWidget() && !QApplication::activePopupWidget())
        return true;
    if (calledFromDBus())
        sendErrorReply(QStringLiteral("org.parlivo.Reader.Error.Busy"),
                       QStringLiteral("Parlivo is waiting for an answer in one of its windows."));
    return false;
}

void DesktopService::read(const QString& given)
{
    if (!windowFree())
        return;
    QString problem;
    const QString text = readableGivenText(given, &problem);
    if (text.isEmpty()) {
        mWindow.ShowNotice(problem);
        if (calledFromDBus())
            sendErrorReply(QStringLiteral("org.parlivo.Reader.Error.NoText"), problem);
        return;
    }
    // Replacing the reading area's text may ask first: that question waits on the event loop, not in this call.
    QTimer::singleShot(0, &mWindow, [window = &mWindow, text] { window->ReadText(text); });
}

void DesktopService::ReadText(const QString& text)
{
    read(text);
}

void DesktopService::ReadSelection()
{
    // Parlivo's own selection is read in place by the window.
    if (QGuiApplication::clipboard()->ownsSelection()) {
        if (windowFree())
            QTimer::singleShot(0, &mWindow, [window = &mWindow] { window->ReadSelection(); });
        return;
    }
    read(mWindow.SelectedText());
}

void DesktopService::ReadClipboard()
{
    read(mWindow.ClipboardText());
}

void DesktopService::PauseResume()
{
    if (windowFree())
        mWindow.PlayPause();
}

void DesktopService::Stop()
{
    if (windowFree())
        mWindow.StopReading();
}

void DesktopService::PreviousSentence()
{
    if (windowFree())
        mWindow.MoveReading(ReadingMove::PreviousSentence);
}

void DesktopService::NextSentence()
{
    if (windowFree())
        mWindow.MoveReading(ReadingMove::NextSentence);
}

void DesktopService::ShowReaderBar()
{
    if (windowFree())
        mWindow.ShowFloatingReaderBar(true);
}
