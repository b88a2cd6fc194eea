#include "core/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

namespace {
QString lockFolder(const QString& folder)
{
    if (!folder.isEmpty())
        return folder;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

constexpr int AnswerWithinMs = 3000;
constexpr qint64 LongestPath = 64 * 1024;
} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : mLock(lockFolder(folder) + QLatin1Char('/') + name + QStringLiteral(".lock"))
{
    // Only a live owner counts; age alone never makes a lock stale.
    mLock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return mLock.tryLock(0);
}

QString SingleInstance::socketPath() const
{
    QString path = mLock.fileName();
    path.chop(int(QStringLiteral(".lock").size()));
    return path + QStringLiteral(".socket");
}

void SingleInstance::listen(std::function<void(const QString&)> open)
{
    // The lock is ours, so a socket left there is a crashed copy's.
    QLocalServer::removeServer(socketPath());
    mServer = std::make_unique<QLocalServer>();
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!mServer->listen(socketPath()))
        return;
    QLocalServer* server = mServer.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, open] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, open] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > LongestPath)
                        socket->abort();
                    return;
                }
                const QString path = QString::fromUtf8(socket->readLine(LongestPath)).chopped(1);
                socket->write("ok\n");
                socket->flush();
                // Opened once the answer is on its way: opening may ask the user a question.
                QTimer::singleShot(0, socket, [path, open] { open(path); });
            });
        }
    });
}

bool SingleInstance::handOff(const QString& path) const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(AnswerWithinMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(AnswerWithinMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(AnswerWithinMs))
            return false;
    }
    return socket.readLine() == "ok\n";
}
