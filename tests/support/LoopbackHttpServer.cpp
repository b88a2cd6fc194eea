#include "LoopbackHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

LoopbackHttpServer::LoopbackHttpServer(int maxRequests) : mRequestsLeft(maxRequests)
{
    mServer.listen(QHostAddress::LocalHost, 0);
    connect(&mServer, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = mServer.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LoopbackHttpServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(mServer.serverPort()).arg(path));
}

void LoopbackHttpServer::answer(QTcpSocket* socket)
{
    const QByteArray request = socket->peek(16384);
    if (!request.contains("\r\n\r\n") && request.size() < 16384)
        return;
    socket->readAll();
    if (--mRequestsLeft <= 0)
        mServer.close();
    const QList<QByteArray> words = request.left(request.indexOf('\r')).split(' ');
    const QString path = words.size() >= 2 ? QString::fromLatin1(words[1]) : QString();
    mRequested.append(path);
    const auto page = mPages.constFind(path);
    const QByteArray body = page != mPages.constEnd() ? *page : QByteArrayLiteral("not found");
    const QByteArray status = page != mPages.constEnd() ? "200 OK" : "404 Not Found";
    const QByteArray reply = "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                             QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    QTimer::singleShot(mDelays.value(path, 0), socket, [socket, reply] {
        socket->write(reply);
        socket->disconnectFromHost();
    });
}
